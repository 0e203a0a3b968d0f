// SPDX-License-Identifier: MIT
#include "ArchiveBrowser.h"
#include "FileOperations.h"
#include "TZipKit.h"
#include "FolderBrowser.h"
#include "FileHelpers.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "Installer.h"
#include "ListView.h"
#include "TFormFontInstall.h"
#include "TOverwritePromt.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QStringList rows(const ListView *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i).caption + QLatin1Char('|') + list->item(i).subItems.join(QLatin1Char(','));
    return out;
}

// An archive of real fonts, one in a folder, and files no filter takes.
QString fontArchive(const QString &folder)
{
    ZipBuilder zip;
    zip.add("Serif.ttf", fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf"))));
    zip.add("faces/Small.fon", fileBytes(TestEnvironment::wine(QStringLiteral("smalle.fon"))));
    zip.add("mono.TTF", fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf"))));
    zip.add("readme.txt", "hello");
    zip.add("faces/");
    const QString path = folder + QStringLiteral("fonts.zip");
    zip.write(path);
    return path;
}

struct ArchiveFixture : FormFixture {
    ArchiveFixture()
    {
        show();
        folder = TestEnvironment::instance().makeFolder(QStringLiteral("archives"));
        archive = fontArchive(folder);
        form->folderBrowser().ListFolder(folder);
        ListView *files = form->controls().FilesBrowse;
        for (int i = 0; i < files->count(); ++i)
            if (files->item(i).caption == QLatin1String("fonts"))
                files->selectRow(i);
        emit files->dblClick();
    }
    QString folder;
    QString archive;
};


}

TEST(ArchiveBrowser, OpensListsUnderTheFilterAndGoesBack)
{
    ArchiveFixture f;
    MainControls &c = f.form->controls();
    EXPECT_EQ(f.form->activeView(), 2);
    EXPECT_TRUE(c.FilesBrowse->collapsed());
    EXPECT_EQ(rows(c.ZipBrowse), (QStringList{QStringLiteral(" ..|"), QStringLiteral("faces\\Small|.fon"), QStringLiteral("mono|.TTF"),
                                              QStringLiteral("Serif|.ttf")}));
    EXPECT_EQ(c.ZipBrowse->item(0).image, 1);
    EXPECT_TRUE(c.ZipBrowse->item(0).subItems.isEmpty());
    EXPECT_EQ(c.ZipBrowse->item(1).image, 3);
    EXPECT_EQ(c.ZipBrowse->selectedRow(), 0);
    EXPECT_EQ(f.form->zipKit().ZipFileName(), f.archive);
    EXPECT_EQ(f.form->state().CurrentFolder, f.folder);

    // The File menu shows the unpack commands here; the popup only for a font entry.
    f.form->fileOperations().File1Click();
    EXPECT_TRUE(f.form->action(QStringLiteral("Unpack"))->isVisible());
    EXPECT_FALSE(f.form->action(QStringLiteral("Delete"))->isVisible());
    QMenu *popup = f.form->findChild<QMenu *>(QStringLiteral("PopupZipBrowse"));
    f.form->archiveBrowser().PopupZipBrowsePopup();
    const QList<QAction *> items = popup->actions();
    EXPECT_TRUE(std::none_of(items.begin(), items.end(), [](QAction *a) { return a->isVisible(); }));
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("mono")));
    f.form->archiveBrowser().PopupZipBrowsePopup();
    EXPECT_TRUE(std::all_of(items.begin(), items.end(), [](QAction *a) { return a->isVisible(); }));

    // Enter on a font entry does nothing more; Enter on " .." goes back with the first item selected.
    emit c.ZipBrowse->keyPress(QChar(13));
    EXPECT_EQ(f.form->activeView(), 2);
    c.ZipBrowse->selectRow(0);
    emit c.ZipBrowse->keyPress(QChar(13));
    EXPECT_EQ(f.form->activeView(), 0);
    EXPECT_EQ(c.ZipBrowse->count(), 0);
    EXPECT_EQ(c.FilesBrowse->selectedRow(), 0);
    EXPECT_EQ(f.form->state().CurrentFolder, f.folder);

    // Raster filter: only the .fon entry; a double click on " .." also goes back.
    c.SelectExt->setCurrentIndex(1);
    f.form->archiveBrowser().OpenArchive(f.archive);
    EXPECT_EQ(rows(c.ZipBrowse), (QStringList{QStringLiteral(" ..|"), QStringLiteral("faces\\Small|.fon")}));
    c.ZipBrowse->selectRow(0);
    emit c.ZipBrowse->dblClick();
    EXPECT_EQ(f.form->activeView(), 0);
}

TEST(ArchiveBrowser, PreviewsKeepOneExtractedCopyAndClosingDeletesIt)
{
    ArchiveFixture f;
    MainControls &c = f.form->controls();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("Serif")));
    const QString first = browser.extractedPath();
    EXPECT_EQ(f.form->state().ArchiveTempFile, QStringLiteral("Serif.ttf"));
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(f.form->state().CurrentFont.FontFilePath, first);

    // An entry with a folder part previews too.
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("faces\\Small")));
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(browser.extractedPath()));
    EXPECT_TRUE(browser.extractedPath().endsWith(QStringLiteral("faces/Small.fon")));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Small Fonts"));
    EXPECT_TRUE(f.form->zipKit().FSpecArgs.isEmpty());

    const QString last = browser.extractedPath();
    f.form->close();
    EXPECT_FALSE(QFile::exists(last));
}

TEST(ArchiveBrowser, UnpackWithEachOverwriteAnswerAndInstall)
{
    ArchiveFixture f;
    MainControls &c = f.form->controls();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("mono")));

    f.form->action(QStringLiteral("UnpackHere"))->trigger();
    EXPECT_EQ(fileBytes(f.folder + QStringLiteral("mono.TTF")), fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf"))));

    // Again: the prompt names the existing file first, the extracted copy second.
    QFile local(f.folder + QStringLiteral("mono.TTF"));
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.write("mine");
    local.close();
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &prompt = static_cast<TOverwritePromt &>(dialog);
        EXPECT_EQ(prompt.FileFrom->text(), QStringLiteral("Overwrite: ") + f.folder + QStringLiteral("mono.TTF"));
        EXPECT_EQ(prompt.FileTo->text(), QStringLiteral("With file: ") + browser.extractedPath() + QLatin1Char('?'));
        return 3;
    });
    browser.PopZipUnpackHereClick();
    EXPECT_EQ(fileBytes(f.folder + QStringLiteral("mono.TTF")), QByteArray("mine"));
    f.prompter.willRunDialog([](QDialog &) { return 5; });
    browser.PopZipUnpackHereClick();
    EXPECT_EQ(fileBytes(f.folder + QStringLiteral("mono.TTF")).size(), QFileInfo(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf"))).size());

    const QString elsewhere = TestEnvironment::instance().makeFolder(QStringLiteral("unpack-to"));
    f.prompter.willChooseFolder(elsewhere);
    f.form->action(QStringLiteral("Unpack"))->trigger();
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Unpack to..."));
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("mono.TTF")));
    f.prompter.willChooseFolder(elsewhere);
    f.prompter.willRunDialog([](QDialog &) { return 4; });
    f.prompter.willEnterText(QStringLiteral("renamed.ttf"));
    browser.PopZipUnpackClick();
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("renamed.ttf")));

    // Install from the archive: the type group is disabled and the last choice applies.
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        EXPECT_FALSE(install.InstallType->isEnabled());
        install.OK->click();
        return install.result();
    });
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->action(QStringLiteral("PopZipInstall"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("mono.TTF")));
}

TEST(ArchiveBrowser, DamagedArchivesAndEntriesTellAndLeaveNothingBehind)
{
    FormFixture f;
    f.show();
    MainControls &c = f.form->controls();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("archives-bad"));
    ZipBuilder broken;
    broken.add("a.ttf").add("b.ttf");
    broken.entries[1].signature = 0x11111111;
    broken.write(folder + QStringLiteral("broken.zip"));
    f.form->folderBrowser().ListFolder(folder);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->archiveBrowser().OpenArchive(folder + QStringLiteral("broken.zip"));
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("ZipKit [ 11015 ]"));
    // The entry read before the damage stays; the view shows it after " ..".
    EXPECT_EQ(c.ZipBrowse->item(0).caption, QStringLiteral(" .."));
    EXPECT_LE(c.ZipBrowse->count(), 2);

    // An entry whose data is damaged: the component tells, no copy and no stale face remain.
    ZipBuilder damaged;
    damaged.add("bad.ttf", fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf"))));
    QByteArray bytes = damaged.build();
    bytes[30 + 7 + 100] = static_cast<char>(bytes[30 + 7 + 100] ^ 0x55);
    QFile out(folder + QStringLiteral("damaged.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    f.form->archiveBrowser().OpenArchive(folder + QStringLiteral("damaged.zip"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.ZipBrowse->selectRow(1);
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("CRC error in bad.ttf"));
    EXPECT_TRUE(f.form->state().ArchiveTempFile.isEmpty());
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_TRUE(QDir(f.form->archiveBrowser().extractionFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}
