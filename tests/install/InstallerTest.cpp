// SPDX-License-Identifier: MIT
#include "ArchiveBrowser.h"
#include "FaceFont.h"
#include "FifoGuard.h"
#include "FileHelpers.h"
#include "FolderBrowser.h"
#include "FontLoader.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "InstalledFonts.h"
#include "Installer.h"
#include "ListView.h"
#include "NativeFile.h"
#include "TFormFontInstall.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Copies a file to a native name.
void copyNative(const QString &source, const QByteArray &target)
{
    const QByteArray content = fileBytes(source);
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << target.constData();
    ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    ::close(fd);
}

QByteArray nativeBytes(const QByteArray &path)
{
    QByteArray content;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return content;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, n);
    ::close(fd);
    return content;
}

bool existsNative(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}


// Answers the install dialog: picks the type, the box, and presses OK.
ScriptedPrompter::DialogScript pressOk(int type, bool overwrite = false)
{
    return [type, overwrite](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        EXPECT_EQ(install.windowTitle(), QStringLiteral("Font installation"));
        if (install.InstallType->isEnabled())
            install.InstallTypeItems[type]->click();
        install.OverwriteInstalled->setChecked(overwrite);
        install.OK->click();
        return install.result();
    };
}

// Lists a folder holding a copy of a font, and selects it.
QString selectFontIn(FormFixture &f, const QString &folderName, const QString &source, const QString &name)
{
    const QString folder = TestEnvironment::instance().makeFolder(folderName);
    QFile::copy(source, folder + name);
    f.form->folderBrowser().ListFolder(folder);
    ListView *files = f.form->ui().FilesBrowse;
    files->selectRow(rowOf(files, name.section(QLatin1Char('.'), 0, 0)));
    return folder + name;
}

}

TEST(Installer, DialogControlsAndTexts)
{
    FormFixture f;
    TFormFontInstall &dialog = *f.form->FormFontInstall;
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("File name:"));
    EXPECT_EQ(dialog.Load->text(), QStringLiteral("Load..."));
    EXPECT_EQ(dialog.InstallType->title(), QStringLiteral("Installation Type"));
    EXPECT_EQ(dialog.InstallTypeItems[0]->text(), QStringLiteral("From current directory"));
    EXPECT_EQ(dialog.InstallTypeItems[1]->text(), QStringLiteral("Copy to \"Fonts\" folder"));
    EXPECT_EQ(dialog.InstallTypeItems[2]->text(), QStringLiteral("Move to \"Fonts\" folder"));
    EXPECT_EQ(dialog.OverwriteInstalled->text(), QStringLiteral("Overwrite if already exists"));
    EXPECT_EQ(dialog.installType(), 1);
    EXPECT_TRUE(dialog.OverwriteInstalled->isEnabled());
    dialog.InstallTypeItems[2]->click();
    EXPECT_FALSE(dialog.OverwriteInstalled->isEnabled());
    dialog.InstallTypeItems[1]->click();
}

TEST(Installer, ThreeModesRecordTheFaceAndTheFileThenUninstall)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString fonts = f.paths.systemFontsFolder;

    // Copy: the bare file name, the font found by fontconfig after the refresh.
    const QString copied = selectFontIn(f, QStringLiteral("inst-copy"), TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), QStringLiteral("fixedsys.ttf"));
    f.prompter.willRunDialog(pressOk(1));
    f.prompter.willAnswer(MessageAnswer::Ok);
    actionNamed(*f.form, QStringLiteral("Install1"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Information);
    EXPECT_TRUE(f.form->fontLoader().CurrentFont.KeepFontResource);
    EXPECT_TRUE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_TRUE(QFile::exists(copied));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), QStringLiteral("fixedsys.ttf"));

    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    const int row = rowOf(c.FontsList, QStringLiteral("Fixedsys"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.FontsList->item(row).subItems[FontsListColumn::FileName], QStringLiteral("fixedsys.ttf"));

    // Uninstall asks, removes the file, the value and the row.
    c.FontsList->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::No);
    actionNamed(*f.form, QStringLiteral("Uninstall1"))->trigger();
    EXPECT_TRUE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Are you really want to uninstall this font"));
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.form->installer().Uninstall1Click();
    EXPECT_FALSE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_EQ(rowOf(c.FontsList, QStringLiteral("Fixedsys")), -1);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("MS Sans Serif"));
    // The preview of this run keeps its face in the program (the resource is kept after an
    // install), but the system no longer has the font: a font only this process holds is not
    // listed as installed.
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    EXPECT_FALSE(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")).has_value());
    EXPECT_EQ(rowOf(c.FontsList, QStringLiteral("Fixedsys")), -1);
    EXPECT_GT(c.FontsList->count(), 0);

    // Move: the source goes, the bare name is recorded.
    const QString moved = selectFontIn(f, QStringLiteral("inst-move"), TestEnvironment::wine(QStringLiteral("small_fonts.ttf")), QStringLiteral("small_fonts.ttf"));
    f.prompter.willRunDialog(pressOk(2));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_FALSE(QFile::exists(moved));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Small Fonts (TrueType)")), QStringLiteral("small_fonts.ttf"));

    // From the current directory: the full path, through a link in the fonts folder.
    const QString here = selectFontIn(f, QStringLiteral("inst-here"), TestEnvironment::wine(QStringLiteral("symbol.ttf")), QStringLiteral("symbol.ttf"));
    f.prompter.willRunDialog(pressOk(0));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Symbol (TrueType)")), here);
    EXPECT_TRUE(QFileInfo(fonts + QStringLiteral("symbol.ttf")).isSymLink());
}

TEST(Installer, AFailedCopyIsReportedAndRecordsNothing)
{
    FormFixture f;
    f.show();
    const QString fonts = f.paths.systemFontsFolder;
    QDir().mkpath(fonts);
    QFile occupant(fonts + QStringLiteral("webdings.ttf"));
    ASSERT_TRUE(occupant.open(QIODevice::WriteOnly));
    occupant.write("someone else's file");
    occupant.close();

    selectFontIn(f, QStringLiteral("inst-fail"), TestEnvironment::wine(QStringLiteral("webdings.ttf")), QStringLiteral("webdings.ttf"));
    f.prompter.willRunDialog(pressOk(1, false));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
    EXPECT_FALSE(f.form->fontLoader().CurrentFont.KeepFontResource);
    QFile kept(fonts + QStringLiteral("webdings.ttf"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("someone else's file"));
    kept.close();

    // Ticked, the box replaces the file of that name.
    f.prompter.willRunDialog(pressOk(1, true));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_EQ(QFileInfo(fonts + QStringLiteral("webdings.ttf")).size(), QFileInfo(TestEnvironment::wine(QStringLiteral("webdings.ttf"))).size());

    // A system font outside the user's folder cannot be uninstalled: told, and the row stays.
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    ListView *list = f.form->ui().FontsList;
    const int row = rowOf(list, QStringLiteral("DejaVu Sans"));
    list->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Uninstall1Click();
    EXPECT_EQ(f.prompter.messages().back().text,
              TestEnvironment::instance().testFontsFolder()
                  + QStringLiteral("DejaVuSans.ttf is a system font. System fonts are managed by the system and cannot be uninstalled here."));
    EXPECT_GE(rowOf(list, QStringLiteral("DejaVu Sans")), 0);
    EXPECT_TRUE(QFile::exists(TestEnvironment::instance().testFontsFolder() + QStringLiteral("DejaVuSans.ttf")));
}

TEST(Installer, CommandLineLoadsAndInstallsOnlyWithTheExactWord)
{
    TestEnvironment::instance().resetUserFiles();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("cmdline"));
    QFile::copy(TestEnvironment::wine(QStringLiteral("wingding.ttf")), folder + QStringLiteral("wingding.ttf"));
    {
        FormFixture f({folder + QStringLiteral("wingding.ttf"), QStringLiteral("INSTALL")}, false);
        f.show();
        EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
        EXPECT_EQ(f.form->activeView(), 0);
        EXPECT_EQ(f.form->ui().StatusPanels[3]->text(), QStringLiteral("Wingdings"));
        EXPECT_TRUE(f.form->ui().Install1->isEnabled());
        EXPECT_FALSE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("wingding.ttf")));
    }
    FormFixture f({folder + QStringLiteral("wingding.ttf"), QStringLiteral("install")}, false);
    f.prompter.willRunDialog(pressOk(1));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.show();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully. It will be allowed in system after restarting."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("wingding.ttf")));
    EXPECT_FALSE(f.form->fontLoader().CurrentFont.KeepFontResource);
}

TEST(Installer, AnArchiveEntryIsAlwaysCopiedIntoTheFontsFolder)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString fonts = f.paths.systemFontsFolder;

    // An install from the current directory first: the group keeps that choice.
    selectFontIn(f, QStringLiteral("arch-here"), TestEnvironment::wine(QStringLiteral("symbol.ttf")), QStringLiteral("symbol.ttf"));
    f.prompter.willRunDialog(pressOk(0));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    ASSERT_TRUE(QFileInfo(fonts + QStringLiteral("symbol.ttf")).isSymLink());

    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("arch-zip"));
    ZipBuilder zip;
    zip.add("fixed.ttf", fileBytes(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    zip.add("small.ttf", fileBytes(TestEnvironment::wine(QStringLiteral("small_fonts.ttf"))));
    zip.write(folder + QStringLiteral("entries.zip"));
    f.form->folderBrowser().ListFolder(folder);
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("entries")));
    emit c.FilesBrowse->dblClick();
    ASSERT_EQ(f.form->activeView(), 2);

    // Whatever the disabled group shows (here and there), the temporary copy is copied.
    for (const int shown : {0, 2}) {
        const QString entry = shown == 0 ? QStringLiteral("fixed") : QStringLiteral("small");
        SCOPED_TRACE(entry.toStdString());
        c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, entry));
        const QString extracted = f.form->archiveBrowser().extractedPath();
        ASSERT_TRUE(QFile::exists(extracted));
        f.prompter.willRunDialog([shown](QDialog &dialog) {
            auto &install = static_cast<TFormFontInstall &>(dialog);
            EXPECT_FALSE(install.InstallType->isEnabled());
            if (shown != install.installType())
                install.setInstallType(shown);
            install.OK->click();
            return install.result();
        });
        f.prompter.willAnswer(MessageAnswer::Ok);
        actionNamed(*f.form, QStringLiteral("PopZipInstall"))->trigger();
        EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
        const QString installed = fonts + entry + QStringLiteral(".ttf");
        EXPECT_FALSE(QFileInfo(installed).isSymLink());
        EXPECT_EQ(fileBytes(installed), fileBytes(extracted));
        EXPECT_TRUE(QFile::exists(extracted));
    }
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), QStringLiteral("fixed.ttf"));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Small Fonts (TrueType)")), QStringLiteral("small.ttf"));

    // The extracted copy goes with the window; the installed fonts stay.
    const QString extracted = f.form->archiveBrowser().extractedPath();
    f.form->close();
    EXPECT_FALSE(QFile::exists(extracted));
    EXPECT_EQ(fileBytes(fonts + QStringLiteral("fixed.ttf")), fileBytes(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    EXPECT_EQ(fileBytes(fonts + QStringLiteral("small.ttf")), fileBytes(TestEnvironment::wine(QStringLiteral("small_fonts.ttf"))));
}

TEST(Installer, AFileThatIsNoFontIsNeitherCopiedNorMovedNorLinked)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("inst-fake"));
    QFile fake(folder + QStringLiteral("fake.ttf"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    ASSERT_EQ(fake.write("this is not a font\n"), 19);
    fake.close();
    f.form->folderBrowser().ListFolder(folder);
    ListView *files = f.form->ui().FilesBrowse;
    f.prompter.willAnswer(MessageAnswer::Ok);
    files->selectRow(rowOf(files, QStringLiteral("fake")));
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text,
              QStringLiteral("Cannot load %1fake.ttf: it is not a font that can be shown, or it is damaged.").arg(folder));
    for (const int type : {1, 2, 0}) {
        SCOPED_TRACE(type);
        f.prompter.willRunDialog(pressOk(type));
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.form->installer().Install1Click();
        EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
        EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
        EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty()) << entriesOf(f.paths.systemFontsFolder).join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(fileBytes(folder + QStringLiteral("fake.ttf")), QByteArray("this is not a font\n"));
    }
    EXPECT_FALSE(f.form->fontLoader().CurrentFont.KeepFontResource);
}

TEST(Installer, SpecialFilesAreRefusedWithoutWaiting)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("inst-fifo"));
    FifoGuard fifo(folder + QStringLiteral("x.ttf"));
    ASSERT_TRUE(fifo.made());

    // The FIFO itself.
    f.prompter.willRunDialog(pressOk(1));
    EXPECT_EQ(f.form->installer().InstallFontFile(folder + QStringLiteral("x.ttf"), true), ModalResult::Abort);
    EXPECT_FALSE(fifo.fired());

    // The FIFO typed into the dialog in place of a real font, for each kind of install.
    const QString real = placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), folder, QStringLiteral("real.ttf"));
    for (const int type : {1, 2, 0}) {
        SCOPED_TRACE(type);
        f.prompter.willRunDialog([&, type](QDialog &dialog) {
            auto &install = static_cast<TFormFontInstall &>(dialog);
            install.FilePath->setText(folder + QStringLiteral("x.ttf"));
            install.InstallTypeItems[type]->click();
            install.OK->click();
            return install.result();
        });
        EXPECT_EQ(f.form->installer().InstallFontFile(real, true), ModalResult::Abort);
        EXPECT_FALSE(fifo.fired());
        EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty());
    }
}

TEST(Installer, NamesThatAreNotUtf8InstallAndUninstallTheirOwnFile)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("inst-bytes"));
    const QByteArray native = nativePath(folder);
    const QByteArray fonts = nativePath(f.paths.systemFontsFolder);
    // The decoy bears the name Qt would make of the font's.
    copyNative(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), native + "bad\xff.ttf");
    copyNative(TestEnvironment::wine(QStringLiteral("courier.ttf")), native + "bad\xef\xbf\xbd.ttf");
    const QString bad = folder + pathFromNative("bad\xff.ttf");
    const QByteArray fixedsys = fileBytes(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")));
    f.form->ReleaseCurrentFont();
    ASSERT_EQ(f.form->previewFontFile(bad), 0);
    ASSERT_EQ(faceName(c.Preview), QStringLiteral("Fixedsys"));

    // Copy: the font's own bytes under its own name, recorded by that name.
    f.prompter.willRunDialog(pressOk(1));
    EXPECT_EQ(f.form->installer().InstallFontFile(bad, true), ModalResult::Ok);
    EXPECT_EQ(nativeBytes(fonts + "bad\xff.ttf"), fixedsys);
    EXPECT_FALSE(existsNative(fonts + "bad\xef\xbf\xbd.ttf"));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), pathFromNative("bad\xff.ttf"));

    // Uninstall from the list removes that file and no other, without a warning.
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    const int row = rowOf(c.FontsList, QStringLiteral("Fixedsys"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.FontsList->item(row).subItems[FontsListColumn::FileName], pathFromNative("bad\xff.ttf"));
    c.FontsList->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::Yes);
    const size_t before = f.prompter.messages().size();
    f.form->installer().Uninstall1Click();
    EXPECT_EQ(f.prompter.messages().size(), before + 1);
    EXPECT_FALSE(existsNative(fonts + "bad\xff.ttf"));
    EXPECT_TRUE(existsNative(native + "bad\xff.ttf"));
    EXPECT_TRUE(existsNative(native + "bad\xef\xbf\xbd.ttf"));

    // From the current directory: a link of the same name to the font's own path.
    f.prompter.willRunDialog(pressOk(0));
    EXPECT_EQ(f.form->installer().InstallFontFile(bad, true), ModalResult::Ok);
    char target[4096] = {};
    ASSERT_GT(::readlink((fonts + "bad\xff.ttf").constData(), target, sizeof target - 1), 0);
    EXPECT_EQ(QByteArray(target), native + "bad\xff.ttf");
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), bad);
    ASSERT_EQ(::unlink((fonts + "bad\xff.ttf").constData()), 0);

    // Move: the font itself goes into the fonts folder; the decoy stays.
    f.prompter.willRunDialog(pressOk(2));
    EXPECT_EQ(f.form->installer().InstallFontFile(bad, true), ModalResult::Ok);
    EXPECT_EQ(nativeBytes(fonts + "bad\xff.ttf"), fixedsys);
    EXPECT_FALSE(existsNative(native + "bad\xff.ttf"));
    EXPECT_TRUE(existsNative(native + "bad\xef\xbf\xbd.ttf"));
}

TEST(Installer, UninstallingAFontInstalledInPlaceRemovesItsLinkWithoutWarning)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString fonts = f.paths.systemFontsFolder;
    const QString here = selectFontIn(f, QStringLiteral("inst-inplace"), TestEnvironment::wine(QStringLiteral("small_fonts.ttf")), QStringLiteral("small_fonts.ttf"));
    f.prompter.willRunDialog(pressOk(0));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    ASSERT_TRUE(QFileInfo(fonts + QStringLiteral("small_fonts.ttf")).isSymLink());

    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    f.form->installedFonts().waitUntilLoaded();
    const int row = rowOf(c.FontsList, QStringLiteral("Small Fonts"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.FontsList->item(row).subItems[FontsListColumn::FileName], here);
    c.FontsList->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::Yes);
    const size_t before = f.prompter.messages().size();
    f.form->installer().Uninstall1Click();
    // Only the question was asked.
    ASSERT_EQ(f.prompter.messages().size(), before + 1);
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Are you really want to uninstall this font"));
    EXPECT_FALSE(QFileInfo(fonts + QStringLiteral("small_fonts.ttf")).exists());
    EXPECT_FALSE(QFileInfo(fonts + QStringLiteral("small_fonts.ttf")).isSymLink());
    EXPECT_TRUE(QFile::exists(here));
    EXPECT_EQ(rowOf(c.FontsList, QStringLiteral("Small Fonts")), -1);
    EXPECT_FALSE(f.fontsKey.readString(QStringLiteral("Small Fonts (TrueType)")).has_value());
}
