// SPDX-License-Identifier: MIT
// Real full and read-only file systems, mounted in the test process's own namespace: every
// command that writes fails, says why, and leaves the old files as they were.
#include "AppError.h"
#include "ArchiveBrowser.h"
#include "FaultHelpers.h"
#include "FaultSystem.h"
#include "FileHelpers.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "IniFile.h"
#include "Installer.h"
#include "ListHelpers.h"
#include "ListView.h"
#include "TFormConfig.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>

#define NEED_MOUNTS()                                                                                                  \
    if (!fault::mountsAvailable())                                                                                     \
    GTEST_SKIP() << fault::mountsUnavailableReason().toStdString()

namespace {

const QString kNoSpace = QStringLiteral("No space left on device");
const QString kReadOnly = QStringLiteral("Read-only file system");

QString bigFont()
{
    return TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf"));
}

// Takes every free byte of the file system under a folder.
void fillUp(const QString &folder)
{
    QFile filler(folder + QStringLiteral("filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) > 0) {
    }
    filler.write("f");
}

QString registryReason(const std::function<void()> &write)
{
    try {
        write();
    } catch (const AppError &error) {
        return error.message();
    }
    return QStringLiteral("(written)");
}

}

TEST(FullFileSystem, CopyMoveUnpackAndInstallTellAndLeaveNothingBehind)
{
    NEED_MOUNTS();
    FormFixture f;
    f.show();
    const QString source = TestEnvironment::instance().makeFolder(QStringLiteral("tmpfs-src"));
    const QString font = placeCopy(bigFont(), source, QStringLiteral("big.ttf"));
    const QByteArray original = fileBytes(font);
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("tmpfs-small"));
    fault::Tmpfs small(target, 64 * 1024);
    ASSERT_TRUE(small.mounted());

    f.form->fontLoader().CurrentFont.FontFilePath = font;
    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopCopyToClick();
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("copy"), font, target + QStringLiteral("big.ttf"), kNoSpace));
    EXPECT_TRUE(entriesOf(target).isEmpty());

    // The tmpfs is another file system: the move copies and must keep the source.
    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopMoveToClick();
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("move"), font, target + QStringLiteral("big.ttf"), kNoSpace));
    EXPECT_EQ(fileBytes(font), original);
    EXPECT_TRUE(entriesOf(target).isEmpty());

    // Unpacking an archive entry.
    ZipBuilder zip;
    zip.add("packed.ttf", original);
    zip.write(source + QStringLiteral("fonts.zip"));
    f.form->folderBrowser().ListFolder(source);
    ArchiveBrowser &archive = f.form->archiveBrowser();
    archive.OpenArchive(source + QStringLiteral("fonts.zip"));
    f.form->ui().ZipBrowse->selectRow(1);
    ASSERT_FALSE(f.form->archiveBrowser().ArchiveTempFile.isEmpty());
    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    archive.PopZipUnpackClick();
    EXPECT_EQ(f.prompter.messages().back().text,
              transferMessage(QStringLiteral("copy"), archive.extractedPath(), target + QStringLiteral("packed.ttf"), kNoSpace));
    EXPECT_TRUE(entriesOf(target).isEmpty());

    // Installing into a fonts folder with no room.
    QDir().mkpath(f.paths.systemFontsFolder);
    fault::Tmpfs fonts(f.paths.systemFontsFolder, 64 * 1024);
    ASSERT_TRUE(fonts.mounted());
    f.form->folderBrowser().ListFolder(source);
    f.form->ui().FilesBrowse->selectRow(rowOf(f.form->ui().FilesBrowse, QStringLiteral("big")));
    f.prompter.willRunDialog(installByCopy());
    f.prompter.willAnswer(MessageAnswer::Ok);
    const auto recorded = f.fontsKey.readString(QStringLiteral("DejaVu Sans (TrueType)"));
    f.form->installer().Install1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("DejaVu Sans (TrueType)")), recorded);
    EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty());
    EXPECT_EQ(fileBytes(font), original);
}

TEST(FullFileSystem, StoresSampleTextAndReportKeepTheirOldFiles)
{
    NEED_MOUNTS();
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("tmpfs-stores"));
    fault::Tmpfs small(folder, 256 * 1024);
    ASSERT_TRUE(small.mounted());

    const QString key = QStringLiteral("Software\\Glyvanta");
    RegistryStore store(folder + QStringLiteral("registry.reg"));
    store.load();
    store.writeString(key, QStringLiteral("Last Path"), QStringLiteral("/old/"));
    IniFile ini(folder + QStringLiteral("favorites.ini"));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Home"), QStringLiteral("/home/")));
    TFormConfig &config = *f.form->FormConfig;
    config.setPreviewLines({QStringLiteral("old sample")});
    f.prompter.willChooseFile(folder + QStringLiteral("sample.txt"));
    config.SaveTextClick();
    const QByteArray registryBefore = fileBytes(store.filePath());
    fillUp(folder);

    EXPECT_EQ(registryReason([&] { store.writeString(key, QStringLiteral("Last Path"), QStringLiteral("/new/")); }),
              QStringLiteral("Failed to set data for 'Last Path'"));
    EXPECT_EQ(store.readString(key, QStringLiteral("Last Path")), QStringLiteral("/old/"));
    EXPECT_EQ(fileBytes(store.filePath()), registryBefore);

    EXPECT_FALSE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Fonts"), QStringLiteral("/usr/share/fonts/")));
    IniFile reread(folder + QStringLiteral("favorites.ini"));
    EXPECT_EQ(reread.readSectionKeys(QStringLiteral("Favorites")), QStringList{QStringLiteral("Home")});

    f.prompter.willChooseFile(folder + QStringLiteral("sample.txt"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    config.setPreviewLines({QStringLiteral("new sample")});
    f.form->guarded([&] { config.SaveTextClick(); });
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot create file ") + folder + QStringLiteral("sample.txt"));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("sample.txt")), QByteArray("old sample\r\n"));

    f.form->Report2Click();
    f.form->ui().FontsList->selectRow(0);
    f.prompter.willChooseFile(folder + QStringLiteral("report.rtf"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    actionNamed(*f.form, QStringLiteral("SaveAs1"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot create file ") + folder + QStringLiteral("report.rtf"));
    EXPECT_EQ(entriesOf(folder),
              (QStringList{QStringLiteral("favorites.ini"), QStringLiteral("filler"), QStringLiteral("registry.reg"), QStringLiteral("sample.txt")}));
}

TEST(ReadOnlyFileSystem, WritesIntoItAndDeletesFromItAreRefusedAndTold)
{
    NEED_MOUNTS();
    FormFixture f;
    f.show();
    const QString locked = TestEnvironment::instance().makeFolder(QStringLiteral("ro-folder"));
    const QString kept = placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), locked, QStringLiteral("kept.ttf"));
    QDir().mkpath(locked + QStringLiteral("into"));
    const QString elsewhere = TestEnvironment::instance().makeFolder(QStringLiteral("rw-folder"));
    const QString outside = placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), elsewhere, QStringLiteral("outside.ttf"));
    const QString key = QStringLiteral("Software\\Glyvanta");
    RegistryStore store(locked + QStringLiteral("registry.reg"));
    store.load();
    store.writeString(key, QStringLiteral("Last Path"), QStringLiteral("/old/"));
    fault::ReadOnlyFolder readOnly(locked);
    ASSERT_TRUE(readOnly.mounted());

    f.form->fontLoader().CurrentFont.FontFilePath = outside;
    f.prompter.willChooseFolder(locked);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopCopyToClick();
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("copy"), outside, locked + QStringLiteral("outside.ttf"), kReadOnly));

    f.form->fontLoader().CurrentFont.FontFilePath = kept;
    f.prompter.willChooseFolder(elsewhere);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopMoveToClick();
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("move"), kept, elsewhere + QStringLiteral("kept.ttf"), kReadOnly));
    EXPECT_FALSE(QFile::exists(elsewhere + QStringLiteral("kept.ttf")));

    f.prompter.willAnswer(MessageAnswer::Yes);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopDeleteClick();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Could not delete ") + kept + QStringLiteral(": ") + kReadOnly);

    f.form->folderBrowser().ListFolder(locked);
    ListView *files = f.form->ui().FilesBrowse;
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().FilesBrowseDragDrop(rowOf(files, QStringLiteral("kept")), rowOf(files, QStringLiteral("into")));
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("move"), kept, locked + QStringLiteral("into/kept.ttf"), kReadOnly));

    EXPECT_EQ(registryReason([&] { store.writeString(key, QStringLiteral("Last Path"), QStringLiteral("/new/")); }),
              QStringLiteral("Failed to set data for 'Last Path'"));
    EXPECT_EQ(entriesOf(locked), (QStringList{QStringLiteral("kept.ttf"), QStringLiteral("registry.reg")}));
    EXPECT_TRUE(entriesOf(locked + QStringLiteral("into")).isEmpty());
    EXPECT_EQ(entriesOf(elsewhere), QStringList{QStringLiteral("outside.ttf")});
    RegistryStore reread(locked + QStringLiteral("registry.reg"));
    reread.load();
    EXPECT_EQ(reread.readString(key, QStringLiteral("Last Path")), QStringLiteral("/old/"));
}

TEST(ReadOnlyFileSystem, AnInstalledFontThatCannotBeDeletedStaysListedAndTold)
{
    NEED_MOUNTS();
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("ro-install"));
    placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), folder, QStringLiteral("fixedsys.ttf"));
    f.form->folderBrowser().ListFolder(folder);
    f.form->ui().FilesBrowse->selectRow(rowOf(f.form->ui().FilesBrowse, QStringLiteral("fixedsys")));
    f.prompter.willRunDialog(installByCopy());
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    ASSERT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    const QString installed = f.paths.systemFontsFolder + QStringLiteral("fixedsys.ttf");
    ASSERT_TRUE(QFile::exists(installed));

    fault::ReadOnlyFolder readOnly(f.paths.systemFontsFolder);
    ASSERT_TRUE(readOnly.mounted());
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    ListView *list = f.form->ui().FontsList;
    list->selectRow(rowOf(list, QStringLiteral("Fixedsys")));
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Uninstall1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("This font are installed incorrectly. It may be not uninstalled."));
    EXPECT_TRUE(QFile::exists(installed));
    EXPECT_GE(rowOf(list, QStringLiteral("Fixedsys")), 0);
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), QStringLiteral("fixedsys.ttf"));
}

TEST(ReadOnlyFileSystem, InstallUnpackAndEveryStoreRefuseAndKeepTheOldFiles)
{
    NEED_MOUNTS();
    FormFixture f;
    f.show();
    const QString source = TestEnvironment::instance().makeFolder(QStringLiteral("ro-sources"));
    placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), source, QStringLiteral("fixedsys.ttf"));
    ZipBuilder zip;
    zip.add("packed.ttf", fileBytes(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    zip.write(source + QStringLiteral("fonts.zip"));
    const QString locked = TestEnvironment::instance().makeFolder(QStringLiteral("ro-stores"));
    IniFile ini(locked + QStringLiteral("favorites.ini"));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Home"), QStringLiteral("/home/")));
    const QByteArray iniBefore = fileBytes(ini.path());
    QDir().mkpath(f.paths.systemFontsFolder);
    fault::ReadOnlyFolder readOnly(locked);
    fault::ReadOnlyFolder readOnlyFonts(f.paths.systemFontsFolder);
    ASSERT_TRUE(readOnly.mounted() && readOnlyFonts.mounted());

    f.form->folderBrowser().ListFolder(source);
    f.form->ui().FilesBrowse->selectRow(rowOf(f.form->ui().FilesBrowse, QStringLiteral("fixedsys")));
    f.prompter.willRunDialog(installByCopy());
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
    EXPECT_FALSE(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")).has_value());

    ArchiveBrowser &archive = f.form->archiveBrowser();
    archive.OpenArchive(source + QStringLiteral("fonts.zip"));
    f.form->ui().ZipBrowse->selectRow(1);
    f.prompter.willChooseFolder(locked);
    f.prompter.willAnswer(MessageAnswer::Ok);
    archive.PopZipUnpackClick();
    EXPECT_EQ(f.prompter.messages().back().text,
              transferMessage(QStringLiteral("copy"), archive.extractedPath(), locked + QStringLiteral("packed.ttf"), kReadOnly));

    EXPECT_FALSE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Fonts"), QStringLiteral("/usr/share/fonts/")));
    EXPECT_EQ(fileBytes(ini.path()), iniBefore);

    f.prompter.willChooseFile(locked + QStringLiteral("sample.txt"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->guarded([&] { f.form->FormConfig->SaveTextClick(); });
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot create file ") + locked + QStringLiteral("sample.txt"));

    f.form->Report2Click();
    f.form->ui().FontsList->selectRow(0);
    f.prompter.willChooseFile(locked + QStringLiteral("report.rtf"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    actionNamed(*f.form, QStringLiteral("SaveAs1"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot create file ") + locked + QStringLiteral("report.rtf"));
    EXPECT_EQ(entriesOf(locked), QStringList{QStringLiteral("favorites.ini")});
    EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty());
}
