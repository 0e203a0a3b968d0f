// SPDX-License-Identifier: MIT
#include "FaceFont.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "InstalledFonts.h"
#include "Installer.h"
#include "ListView.h"
#include "TFormFontInstall.h"

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

namespace {


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
    ListView *files = f.form->controls().FilesBrowse;
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
    MainControls &c = f.form->controls();
    const QString fonts = f.paths.systemFontsFolder;

    // Copy: the bare file name, the font found by fontconfig after the refresh.
    const QString copied = selectFontIn(f, QStringLiteral("inst-copy"), TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), QStringLiteral("fixedsys.ttf"));
    f.prompter.willRunDialog(pressOk(1));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->action(QStringLiteral("Install1"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Information);
    EXPECT_TRUE(f.form->state().CurrentFont.KeepFontResource);
    EXPECT_TRUE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_TRUE(QFile::exists(copied));
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")), QStringLiteral("fixedsys.ttf"));

    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.form->Refresh1Click();
    const int row = rowOf(c.FontsList, QStringLiteral("Fixedsys"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.FontsList->item(row).subItems[FontsListColumn::FileName], QStringLiteral("fixedsys.ttf"));

    // Uninstall asks, removes the file, the value and the row.
    c.FontsList->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::No);
    f.form->action(QStringLiteral("Uninstall1"))->trigger();
    EXPECT_TRUE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Are you really want to uninstall this font"));
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.form->installer().Uninstall1Click();
    EXPECT_FALSE(QFile::exists(fonts + QStringLiteral("fixedsys.ttf")));
    EXPECT_EQ(rowOf(c.FontsList, QStringLiteral("Fixedsys")), -1);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("MS Sans Serif"));
    // The preview of this run keeps its face in the program (the resource is kept after an
    // install), but the system no longer has the font.
    f.form->Refresh1Click();
    EXPECT_FALSE(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")).has_value());
    const int after = rowOf(c.FontsList, QStringLiteral("Fixedsys"));
    ASSERT_GE(after, 0);
    EXPECT_EQ(c.FontsList->item(after).subItems[FontsListColumn::FileName], QStringLiteral("Unknown"));

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
    EXPECT_FALSE(f.form->state().CurrentFont.KeepFontResource);
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
    ListView *list = f.form->controls().FontsList;
    const int row = rowOf(list, QStringLiteral("DejaVu Sans"));
    list->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Uninstall1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("This font are installed incorrectly. It may be not uninstalled."));
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
        EXPECT_EQ(f.form->state().CurrentFolder, folder);
        EXPECT_EQ(f.form->activeView(), 0);
        EXPECT_EQ(f.form->controls().StatusPanels[3]->text(), QStringLiteral("Wingdings"));
        EXPECT_TRUE(f.form->controls().Install1->isEnabled());
        EXPECT_FALSE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("wingding.ttf")));
    }
    FormFixture f({folder + QStringLiteral("wingding.ttf"), QStringLiteral("install")}, false);
    f.prompter.willRunDialog(pressOk(1));
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.show();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully. It will be allowed in system after restarting."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("wingding.ttf")));
    EXPECT_FALSE(f.form->state().CurrentFont.KeepFontResource);
}
