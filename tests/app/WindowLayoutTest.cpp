// SPDX-License-Identifier: MIT
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "ListView.h"
#include "Settings.h"
#include "TFormPreviewUi.h"
#include "TextSample.h"
#include "WindowLayout.h"

#include <QAction>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTextDocument>
#include <QTextOption>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(WindowLayout, APositionOffEveryScreenIsMovedOntoTheFirst)
{
    const QRect left(-1920, 0, 1920, 1080), main(0, 0, 1280, 1024);
    struct Case {
        QRect frame;
        QList<QRect> screens;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 80, 700, 600}, {main}, {100, 80}},                   // on the screen: kept
        {{-1800, 100, 700, 600}, {main, left}, {-1800, 100}},       // on the second screen: kept
        {{-1800, 100, 700, 600}, {main}, {290, 212}},               // that screen is gone: centred on the first
        {{5000, 5000, 700, 600}, {main, left}, {290, 212}},         // far away
        {{1250, 100, 700, 600}, {main}, {290, 212}},                // only a sliver of its title bar shows
        {{100, -25, 700, 600}, {main}, {290, 212}},                 // its title bar above the screen
        {{0, 0, 2000, 1500}, {QRect(0, 0, 800, 600)}, {0, 0}},      // larger than the screen: its corner stays reachable
        {{-3000, -3000, 2000, 1500}, {QRect(0, 0, 800, 600)}, {0, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeOnScreens(c.frame, c.screens), c.expected) << c.frame.x() << "," << c.frame.y();
}

TEST(WindowLayout, ValuesOfTheirOwnBesideTheKeptOnes)
{
    TestEnvironment::instance().resetUserFiles();
    RegistryStore store(TestEnvironment::instance().paths().registryFile());
    store.load();
    writeWindowLayout(store, {QPoint(-40, 30), 300, 3, 5, 2});
    const WindowLayout read = readWindowLayout(store);
    EXPECT_EQ(read.position, QPoint(-40, 30));
    EXPECT_EQ(read.splitter, 300);
    EXPECT_EQ(read.viewStyle, 3);
    EXPECT_EQ(read.textStyle, 5);
    EXPECT_EQ(read.alignment, 2);
    EXPECT_EQ(store.value(Settings::kKey, QStringLiteral("Window Left")), RegValue::dword32(quint32(-40)));
    EXPECT_EQ(store.value(Settings::kKey, QStringLiteral("Text Style")), RegValue::dword32(5));

    // A value of another type or out of range is left out, never applied.
    store.setValue(Settings::kKey, QStringLiteral("View Style"), RegValue::dword32(9));
    store.setValue(Settings::kKey, QStringLiteral("Text Alignment"), RegValue::string(QStringLiteral("1")));
    store.setValue(Settings::kKey, QStringLiteral("Splitter Position"), RegValue::dword32(quint32(-5)));
    store.deleteValue(Settings::kKey, QStringLiteral("Window Top"));
    const WindowLayout damaged = readWindowLayout(store);
    EXPECT_FALSE(damaged.viewStyle);
    EXPECT_FALSE(damaged.alignment);
    EXPECT_FALSE(damaged.splitter);
    EXPECT_FALSE(damaged.position);
    EXPECT_EQ(damaged.textStyle, 5);
}

TEST(WindowLayout, TheWindowKeepsItsLayoutAcrossRunsAndHasTheIcon)
{
    TestEnvironment::instance().resetUserFiles();
    int kept = 0;   // the navigation box's width when the window closed
    {
        FormFixture f;
        f.show();
        EXPECT_FALSE(f.form->windowIcon().isNull());
        EXPECT_FALSE(f.form->windowIcon().pixmap(32, 32).isNull());
        TFormPreviewUi &c = f.form->ui();
        c.MainSplitter->setSizes({300, c.MainSplitter->width() - 300});
        f.form->MainSplitterMoved(300);
        kept = c.MainSplitter->sizes().value(0);
        EXPECT_NEAR(kept, 300, 4);   // the panes' minimum widths may take a few pixels
        c.ViewStyleButtons[3]->click();
        actionNamed(*f.form, QStringLiteral("Bold1"))->trigger();
        actionNamed(*f.form, QStringLiteral("StrikeOut1"))->trigger();
        actionNamed(*f.form, QStringLiteral("BtnRight"))->trigger();
        f.form->close();
    }
    {
        // The stored position is off every screen: the next start moves it onto one.
        RegistryStore store(TestEnvironment::instance().paths().registryFile());
        store.load();
        EXPECT_EQ(store.readBinary(Settings::kKey, QStringLiteral("Options"), 64)->size(), 40);
        EXPECT_TRUE(store.value(Settings::kKey, QStringLiteral("Last Path")));
        EXPECT_TRUE(store.value(Settings::kKey, QStringLiteral("Preview Text")));
        EXPECT_EQ(store.value(Settings::kKey, QStringLiteral("Text Style")), RegValue::dword32(TextSample::Bold | TextSample::StrikeOut));
        store.setValue(Settings::kKey, QStringLiteral("Window Left"), RegValue::dword32(quint32(-9000)));
        store.setValue(Settings::kKey, QStringLiteral("Window Top"), RegValue::dword32(7000));
    }
    FormFixture f({}, false);
    f.show();
    TFormPreviewUi &c = f.form->ui();
    EXPECT_EQ(c.MainSplitter->sizes().value(0), kept);
    EXPECT_TRUE(c.ViewStyleButtons[3]->isChecked());
    EXPECT_EQ(c.FilesBrowse->viewStyle(), ListView::ViewStyle::Report);
    EXPECT_EQ(c.FontsList->viewStyle(), ListView::ViewStyle::Report);
    EXPECT_TRUE(c.Bold1->isChecked());
    EXPECT_TRUE(c.BtnBold->isChecked());
    EXPECT_FALSE(c.Italic1->isChecked());
    EXPECT_TRUE(c.StrikeOut1->isChecked());
    EXPECT_TRUE(c.Preview->font().bold());
    EXPECT_TRUE(c.Preview->font().strikeOut());
    EXPECT_FALSE(c.Preview->font().italic());
    EXPECT_TRUE(c.BtnRight->isChecked());
    EXPECT_EQ(c.Preview->document()->defaultTextOption().alignment(), Qt::AlignRight);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(f.form->pos())) << f.form->pos().x() << "," << f.form->pos().y();
}
