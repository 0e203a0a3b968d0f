// SPDX-License-Identifier: MIT
#include "Desktop.h"
#include "FormFixture.h"
#include "IniFile.h"
#include "Settings.h"
#include "TFormAbout.h"
#include "TFormConfig.h"
#include "TFormTip.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct OpenedUrls {
    OpenedUrls() { Desktop::setOpener([this](const QUrl &url) { urls << url.toString(); return true; }); }
    ~OpenedUrls() { Desktop::setOpener([](const QUrl &) { return true; }); }
    QStringList urls;
};

}

TEST(TipOfTheDay, StartupTipOnceAndTheMenuPathSavesTheCheckBox)
{
    FormFixture f;
    f.show(true);
    QStringList seen;
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &tip = static_cast<TFormTip &>(dialog);
        seen << tip.TipText->text();
        EXPECT_EQ(tip.windowTitle(), QStringLiteral("Tip of the Day"));
        EXPECT_EQ(tip.TipText->geometry(), QRect(40, 80, 265, 160));
        tip.ShowStartupTips->setChecked(false);
        return ModalResult::Cancel;
    });
    f.form->SysTimerTimer();
    f.form->SysTimerTimer();
    EXPECT_EQ(seen.size(), 1);
    EXPECT_FALSE(f.form->tips().StartupTipPending);
    // The start-up path saves nothing.
    RegistryStore stored(f.paths.registryFile());
    stored.load();
    EXPECT_EQ(stored.value(Settings::kKey, QStringLiteral("Options"))->bytes[2], '\x01');

    f.prompter.willRunDialog([&](QDialog &dialog) {
        static_cast<TFormTip &>(dialog).ShowStartupTips->setChecked(false);
        return ModalResult::Cancel;
    });
    actionNamed(*f.form, QStringLiteral("TipOfTheDay"))->trigger();
    stored.load();
    EXPECT_EQ(stored.value(Settings::kKey, QStringLiteral("Options"))->bytes[2], '\0');
}

TEST(About, LinksAndHelpMenuOpenTheirAddresses)
{
    FormFixture f;
    f.show();
    OpenedUrls opened;
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &about = static_cast<TFormAbout &>(dialog);
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Glyvanta ver. 2.4"));
        EXPECT_EQ(about.Label1->text(), QStringLiteral("WebSite:"));
        EXPECT_EQ(about.Label2->text(), QStringLiteral("E-Mail:"));
        EXPECT_TRUE(about.BtnOK->isFlat());
        emit about.Website->linkActivated(AboutLinks::Website);
        emit about.EMail->linkActivated(AboutLinks::Mail);
        return ModalResult::Ok;
    });
    actionNamed(*f.form, QStringLiteral("About1"))->trigger();
    actionNamed(*f.form, QStringLiteral("Contents1"))->trigger();
    actionNamed(*f.form, QStringLiteral("Website1"))->trigger();
    actionNamed(*f.form, QStringLiteral("FontsWebResources1"))->trigger();
    ASSERT_EQ(opened.urls.size(), 5);
    EXPECT_TRUE(opened.urls[0].startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(opened.urls[1].startsWith(QStringLiteral("mailto:")));
    EXPECT_TRUE(opened.urls[2].endsWith(QStringLiteral("help.html")));
    EXPECT_TRUE(QFile::exists(QUrl(opened.urls[2]).toLocalFile()));
    EXPECT_TRUE(opened.urls[3].endsWith(QStringLiteral("?item=website")));
    EXPECT_TRUE(opened.urls[4].endsWith(QStringLiteral("?item=fontswebresources")));
}

TEST(OptionsDialog, SavesWithCrLfAndReportsAFileItCannotCreate)
{
    FormFixture f;
    f.show();
    TFormConfig &config = *f.form->FormConfig;
    config.setPreviewLines({QStringLiteral("one"), QString(), QStringLiteral("три")});
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("options-save"));
    f.prompter.willChooseFile(folder + QStringLiteral("saved.txt"));
    config.SaveTextClick();
    QFile saved(folder + QStringLiteral("saved.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("one\r\n\r\n\xd1\x82\xd1\x80\xd0\xb8\r\n"));
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы|*.*"));
    EXPECT_EQ(f.prompter.asked().back().initial, QStringLiteral("txt"));

    QFile blocker(folder + QStringLiteral("plainfile"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString impossible = folder + QStringLiteral("plainfile/inside.txt");
    f.prompter.willChooseFile(impossible);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->guarded([&] { config.SaveTextClick(); });
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Cannot create file ") + impossible);

    f.prompter.willChooseFile(folder + QStringLiteral("saved.txt"));
    config.ClearClick();
    config.LoadTextClick();
    EXPECT_EQ(config.previewLines(), (QStringList{QStringLiteral("one"), QString(), QStringLiteral("три")}));
    EXPECT_EQ(config.SaveText->text(), QStringLiteral("Save   "));
}
