// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "FileHelpers.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "NativeFile.h"
#include "OptionsBlock.h"
#include "Settings.h"
#include "TFormConfig.h"
#include "TFormTip.h"
#include "SpecialFiles.h"
#include "TextSample.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include "ListView.h"
#include <QAction>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

const QString kKey = Settings::kKey;

QByteArray storedOptions(const Paths &paths)
{
    RegistryStore store(paths.registryFile());
    store.load();
    const auto v = store.value(kKey, QStringLiteral("Options"));
    return v ? v->bytes : QByteArray();
}

std::int32_t storedInt(const QByteArray &options, int offset)
{
    OptionsBlock block;
    block.decode(options);
    return offset == 28 ? block.windowWidth : block.windowHeight;
}

}

TEST(Settings, FirstStartWritesTheDefaultsAndARestartReadsEverythingBack)
{
    {
        FormFixture first;
        first.show();
        const QByteArray options = storedOptions(first.paths);
        ASSERT_EQ(options.size(), 40);
        EXPECT_EQ(options.mid(0, 3), QByteArray("\x01\x01\x01", 3));
        EXPECT_EQ(options.mid(4, 8), QByteArray("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8));
        EXPECT_EQ(options.mid(12, 16), QByteArray("\x14\x00\x00\x00\x1E\x00\x00\x00\x0A\x00\x00\x00\x0C\x00\x00\x00", 16));
        EXPECT_FALSE(first.registry.value(kKey, QStringLiteral("Last Path")).has_value());
        const QString text = first.registry.readString(kKey, QStringLiteral("Preview Text"));
        EXPECT_TRUE(text.startsWith(QStringLiteral("He was a mongoose, rather like a little ~")));
        EXPECT_EQ(text.count(QLatin1Char('~')), 15);

        // Change what the store keeps, then close.
        TFormPreviewUi &c = first.form->ui();
        first.form->textSample().setLines({QStringLiteral("first"), QString(), QStringLiteral("third")});
        c.FontSize->setValue(20);
        first.form->colors().TextColor = QColor(0x11, 0x22, 0x33);
        first.form->colors().BackgroundColor = QColor(0xAA, 0xBB, 0xCC);
        first.form->FormConfig->CellWidth->setValue(25);
        first.form->FormConfig->CellHeight->setValue(35);
        first.form->FormConfig->FontSize->setValue(14);
        first.form->FormConfig->WrapText->setChecked(false);
        first.form->FormTip->ShowStartupTips->setChecked(false);
        first.form->resize(800, 700);
        first.form->CharMap2Click();
        first.form->close();
        EXPECT_EQ(first.registry.readString(kKey, QStringLiteral("Last Path")), QStringLiteral("fonts"));
    }
    FormFixture second({}, false);
    second.show(true);
    TFormPreviewUi &c = second.form->ui();
    EXPECT_EQ(second.form->textSample().lines(), (QStringList{QStringLiteral("first"), QString(), QStringLiteral("third")}));
    EXPECT_EQ(c.FontSize->value(), 20);
    EXPECT_EQ(c.Preview->font().pointSize(), 20);
    EXPECT_EQ(second.form->colors().TextColor, QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(c.Preview->palette().color(QPalette::Base), QColor(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(second.form->FormConfig->CellWidth->value(), 25);
    EXPECT_EQ(second.form->FormConfig->FontSize->value(), 14);
    EXPECT_EQ(c.Preview->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(second.form->FormTip->ShowStartupTips->isChecked());
    EXPECT_EQ(second.form->width(), 800);
    EXPECT_EQ(second.form->height(), 700);
    EXPECT_EQ(c.TabsPreviewModes->currentIndex(), 1);
    EXPECT_EQ(second.form->state().StartFolder, QStringLiteral("fonts"));
    // With the option off, no tip is pending for the timer to show.
    second.form->SysTimerTimer();
    EXPECT_FALSE(second.form->tips().StartupTipPending && second.form->FormTip->isVisible());
}

TEST(Settings, WrongTypesStopTheLoadWithTheRegistryMessage)
{
    struct Case {
        const char *name;
        RegValue value;
        const char *message;
    };
    const Case cases[] = {
        {"Options", RegValue::string(QStringLiteral("abc")), "Invalid data type for 'Options'"},
        {"Options", RegValue::dword32(7), "Invalid data type for 'Options'"},
        {"Options", RegValue::binary(QByteArray(41, '\x01')), "Invalid data type for 'Options'"},
        {"Preview Text", RegValue::binary("xy"), "Invalid data type for 'Preview Text'"},
        {"Last Path", RegValue::dword32(1), "Invalid data type for 'Last Path'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment::instance().resetUserFiles();
        {
            RegistryStore seed(TestEnvironment::instance().paths().registryFile());
            seed.load();
            seed.setValue(kKey, QStringLiteral("Options"), RegValue::binary(OptionsBlock{}.encode()));
            seed.setValue(kKey, QString::fromLatin1(c.name), c.value);
        }
        FormFixture f({}, false);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.show();
        ASSERT_EQ(f.prompter.messages().size(), 1u);
        EXPECT_EQ(f.prompter.messages()[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
        // Start-up went on: the fonts are listed and the start-up tip is due.
        EXPECT_GT(f.form->ui().FontsList->count(), 0);
        EXPECT_EQ(f.form->folderBrowser().CurrentFolder, QStringLiteral("fonts"));
    }

    // A 39-byte block fills the fields it reaches; the program starts normally.
    TestEnvironment::instance().resetUserFiles();
    {
        RegistryStore seed(TestEnvironment::instance().paths().registryFile());
        seed.load();
        OptionsBlock block;
        block.cellWidth = 33;
        seed.setValue(kKey, QStringLiteral("Options"), RegValue::binary(block.encode().left(39)));
    }
    FormFixture f({}, false);
    f.show();
    EXPECT_EQ(f.form->FormConfig->CellWidth->value(), 33);
    EXPECT_TRUE(f.prompter.messages().empty());
}

TEST(Settings, AStoreThatCannotBeParsedIsKeptBesideAndTheUserTold)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.configFolder);
    QFile broken(paths.registryFile());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("garbage\n");
    broken.close();
    RegistryStore store(paths.registryFile());
    ScriptedPrompter prompter;
    prompter.willAnswer(MessageAnswer::Ok);
    reportStoreLoad(store.load(), store, prompter);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_TRUE(prompter.messages()[0].text.contains(store.setAsidePath()));
    EXPECT_TRUE(prompter.messages()[0].text.startsWith(QStringLiteral("The settings file ") + paths.registryFile()));
    QFile kept(store.setAsidePath());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("garbage\n"));
}

TEST(Settings, OptionsDialogReloadsOnOpenAppliesOnOkAndNothingOnCancel)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    TFormPreview &form = *f.form;

    // Opening reloads: the toolbar size and the view fall back to the stored ones, even on Cancel.
    c.FontSize->setValue(30);
    form.CharMap2Click();
    f.prompter.willRunDialog([&](QDialog &) {
        EXPECT_EQ(c.FontSize->value(), 12);
        EXPECT_EQ(c.TabsPreviewModes->currentIndex(), 0);
        form.FormConfig->CellWidth->setValue(40);
        return ModalResult::Cancel;
    });
    actionNamed(form, QStringLiteral("Config1"))->trigger();
    EXPECT_EQ(c.CharactersPreview->horizontalHeader()->defaultSectionSize(), 20);
    EXPECT_EQ(storedOptions(f.paths).mid(12, 1), QByteArray("\x14"));

    // OK applies and saves; the sample text comes back to the stored text.
    form.textSample().setLines({QStringLiteral("typed since the last save")});
    f.prompter.willRunDialog([&](QDialog &) {
        EXPECT_EQ(form.FormConfig->CellWidth->value(), 20);   // reloaded, the cancelled edit gone
        form.FormConfig->CellWidth->setValue(40);
        form.FormConfig->CellHeight->setValue(50);
        form.FormConfig->ShowCharPreview->setChecked(false);
        return ModalResult::Ok;
    });
    actionNamed(form, QStringLiteral("Config1"))->trigger();
    EXPECT_EQ(c.CharactersPreview->horizontalHeader()->defaultSectionSize(), 40);
    EXPECT_EQ(form.FormConfig->CellPreview->width(), 40);
    EXPECT_EQ(form.FormConfig->CellPreview->height(), 50);
    EXPECT_FALSE(c.BtnCharPreview->isChecked());
    EXPECT_EQ(form.textSample().lines().value(0), QStringLiteral("He was a mongoose, rather like a little "));
    EXPECT_EQ(storedOptions(f.paths).mid(12, 1), QByteArray("\x28"));
    EXPECT_EQ(storedOptions(f.paths)[1], '\0');

    // The map font size may be 0.
    form.FormConfig->FontSize->setValue(0);
    EXPECT_EQ(form.FormConfig->FontSize->value(), 0);
}

TEST(Settings, ColourCommandSavesAndCancelSavesNothing)
{
    FormFixture f;
    f.show();
    const QByteArray before = storedOptions(f.paths);
    f.prompter.willChooseColor(std::nullopt);
    actionNamed(*f.form, QStringLiteral("Color"))->trigger();
    EXPECT_EQ(storedOptions(f.paths), before);
    f.prompter.willChooseColor(QColor(0x10, 0x20, 0x30));
    actionNamed(*f.form, QStringLiteral("Color"))->trigger();
    EXPECT_EQ(storedOptions(f.paths).mid(4, 4), QByteArray("\x10\x20\x30\x00", 4));
    EXPECT_EQ(f.form->ui().Preview->palette().color(QPalette::Text), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(f.form->FormConfig->TextColorPreview->property("color").value<QColor>(), QColor(0x10, 0x20, 0x30));
}

TEST(Settings, AStoredWindowSizeFitsTheScreenAndIsSavedBackSo)
{
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    ASSERT_FALSE(available.isEmpty());
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {available.width() + 300, available.height() + 300}, {40000, 40000}, {0x7FFFFFFF, 0x7FFFFFFF}, {500, 0x7FFFFFFF}};
    for (const auto &[width, height] : sizes) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(width).arg(height).toStdString());
        TestEnvironment::instance().resetUserFiles();
        {
            RegistryStore seed(TestEnvironment::instance().paths().registryFile());
            seed.load();
            OptionsBlock block;
            block.windowWidth = width;
            block.windowHeight = height;
            seed.setValue(kKey, QStringLiteral("Options"), RegValue::binary(block.encode()));
        }
        FormFixture f({}, false);
        f.show();
        EXPECT_EQ(f.form->width(), std::min(width, available.width()));
        EXPECT_EQ(f.form->height(), available.height());
        f.form->close();
        const QByteArray stored = storedOptions(f.paths);
        EXPECT_EQ(storedInt(stored, 28), std::min(width, available.width()));
        EXPECT_LE(storedInt(stored, 32), std::max(available.height(), 700));
    }
}

TEST(Settings, SampleTextAndLastPathKeepEveryCharacterAcrossARestart)
{
    const QStringList lines = {QString::fromUcs4(U"Sample \U0001F600 text"), QString::fromUcs4(U"\U00020000\U0001D11E \u00e9~"), QString()};
    const QStringList expected = {lines[0], QString::fromUcs4(U"\U00020000\U0001D11E \u00e9"), QString(), QString()};
    // A folder whose name is not UTF-8 and holds a character beyond the first plane.
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("last-path")) + pathFromNative("bad\xff \xf0\x9f\x98\x80") + QLatin1Char('/');
    ASSERT_EQ(::mkdir(nativePath(folder).constData(), 0755), 0);
    {
        FormFixture first;
        first.show();
        first.form->textSample().setLines(lines);
        first.form->folderBrowser().CurrentFolder = folder;
        first.form->close();
    }
    FormFixture second({}, false);
    second.show();
    EXPECT_EQ(second.form->textSample().lines(), expected);
    EXPECT_EQ(second.form->state().StartFolder, folder);
    EXPECT_EQ(second.form->folderBrowser().CurrentFolder, folder);
}

TEST(Settings, ASettingsFileThatCannotBeWrittenWarnsOnce)
{
    {
        FormFixture f;
        f.show();
        FileSizeLimit full(16);
        f.prompter.willAnswer(MessageAnswer::Ok);
        for (int i = 0; i < 3; ++i) {
            f.prompter.willChooseColor(QColor(0x10 * i, 0x20, 0x30));
            actionNamed(*f.form, QStringLiteral("Color"))->trigger();
        }
        ASSERT_EQ(f.prompter.messages().size(), 1u);
        EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Failed to set data for 'Preview Text'"));
        // Closing saves, and fails, without a word more.
        f.form->close();
        EXPECT_EQ(f.prompter.messages().size(), 1u);
    }

    // A settings file that is a FIFO: told at start-up, left as it is, and no save says more.
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.configFolder);
    ASSERT_TRUE(makeFifo(paths.registryFile()));
    FifoWatchdog watchdog({nativePath(paths.registryFile())});
    FormFixture f({}, false);
    const RegistryStore::LoadResult loaded = f.registry.load();
    EXPECT_FALSE(watchdog.stop()) << "the settings file was waited on";
    EXPECT_EQ(loaded, RegistryStore::LoadResult::Unreadable);
    f.prompter.willAnswer(MessageAnswer::Ok);
    reportStoreLoad(loaded, f.registry, f.prompter);
    f.show();
    f.prompter.willChooseColor(QColor(1, 2, 3));
    actionNamed(*f.form, QStringLiteral("Color"))->trigger();
    f.form->close();
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text,
              QStringLiteral("The settings file %1 could not be read (it is not a regular file but a folder, pipe, socket or device). It is "
                             "left as it is, and no settings will be saved in this run.")
                  .arg(paths.registryFile()));
    EXPECT_EQ(nodeType(paths.registryFile()), S_IFIFO);
}
