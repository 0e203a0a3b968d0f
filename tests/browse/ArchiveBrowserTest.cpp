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
#include "NativeFile.h"
#include "TFormFontInstall.h"
#include "TOverwritePromt.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
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

// Every file below a folder, with its path from there, hidden ones included.
QStringList filesBelow(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

// TMPDIR for a window made while this lives: its private extraction folder is made below it.
struct TemporaryFolder {
    explicit TemporaryFolder(const QString &folder)
        : previous(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", folder.toUtf8());
    }
    ~TemporaryFolder()
    {
        if (previous.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous);
    }
    QByteArray previous;
};

QByteArray font(const char *file)
{
    return fileBytes(TestEnvironment::dejaVu(QString::fromLatin1(file)));
}

// Opens an archive in the window, from its own folder.
void openArchive(FormFixture &f, const QString &folder, const ZipBuilder &zip, const QString &file = QStringLiteral("test.zip"))
{
    zip.write(folder + file);
    f.form->folderBrowser().ListFolder(folder);
    f.form->archiveBrowser().OpenArchive(folder + file);
}

struct ArchiveFixture : FormFixture {
    ArchiveFixture()
    {
        show();
        folder = TestEnvironment::instance().makeFolder(QStringLiteral("archives"));
        archive = fontArchive(folder);
        form->folderBrowser().ListFolder(folder);
        ListView *files = form->ui().FilesBrowse;
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
    TFormPreviewUi &c = f.form->ui();
    EXPECT_EQ(f.form->activeView(), 2);
    EXPECT_TRUE(c.FilesBrowse->collapsed());
    EXPECT_EQ(rows(c.ZipBrowse), (QStringList{QStringLiteral(" ..|"), QStringLiteral("faces\\Small|.fon"), QStringLiteral("mono|.TTF"),
                                              QStringLiteral("Serif|.ttf")}));
    EXPECT_EQ(c.ZipBrowse->item(0).image, 1);
    EXPECT_TRUE(c.ZipBrowse->item(0).subItems.isEmpty());
    EXPECT_EQ(c.ZipBrowse->item(1).image, 3);
    EXPECT_EQ(c.ZipBrowse->selectedRow(), 0);
    EXPECT_EQ(f.form->zipKit().ZipFileName(), f.archive);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, f.folder);

    // The File menu shows the unpack commands here; the popup only for a font entry.
    f.form->fileOperations().File1Click();
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("Unpack"))->isVisible());
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("Delete"))->isVisible());
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
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, f.folder);

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
    TFormPreviewUi &c = f.form->ui();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("Serif")));
    const QString first = browser.extractedPath();
    EXPECT_EQ(f.form->archiveBrowser().ArchiveTempFile, QStringLiteral("Serif.ttf"));
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(f.form->fontLoader().CurrentFont.FontFilePath, first);

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
    TFormPreviewUi &c = f.form->ui();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("mono")));

    actionNamed(*f.form, QStringLiteral("UnpackHere"))->trigger();
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
    actionNamed(*f.form, QStringLiteral("Unpack"))->trigger();
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
    actionNamed(*f.form, QStringLiteral("PopZipInstall"))->trigger();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("mono.TTF")));
}

TEST(ArchiveBrowser, DamagedArchivesAndEntriesTellAndLeaveNothingBehind)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
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
    EXPECT_EQ(rows(c.ZipBrowse), (QStringList{QStringLiteral(" ..|"), QStringLiteral("a|.ttf")}));

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
    EXPECT_TRUE(f.form->archiveBrowser().ArchiveTempFile.isEmpty());
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_TRUE(QDir(f.form->archiveBrowser().extractionFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

TEST(ArchiveBrowser, EntryNamesThatLeaveTheFolderAreRefusedAndTouchNothing)
{
    const QString base = TestEnvironment::instance().makeFolder(QStringLiteral("escape"));
    const QString tmp = base + QStringLiteral("tmp/");
    QDir().mkpath(tmp);
    TemporaryFolder variable(tmp);
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    ASSERT_TRUE(browser.extractionFolder().startsWith(tmp));

    // Each name leads to a file that exists outside the private folder: nothing may show it,
    // unpack it, install it or delete it.
    struct Case {
        QByteArray stored;
        std::uint8_t host;
        QString victim;   // where the name leads from the private folder
    };
    const std::vector<Case> cases = {
        {"..\\..\\victim.ttf", 0, base + QStringLiteral("victim.ttf")},
        {"../victim.ttf", 3, tmp + QStringLiteral("victim.ttf")},
        {"faces/../../victim2.ttf", 3, tmp + QStringLiteral("victim2.ttf")},
        {"\\\\server\\share\\victim3.ttf", 0, QString()},
        {"C:\\victim4.ttf", 0, QString()},
    };
    const QByteArray victimBytes = font("DejaVuSerif.ttf");
    ZipBuilder zip;
    zip.add("good.ttf", font("DejaVuSansMono.ttf"));
    for (const Case &k : cases) {
        zip.add(k.stored, font("DejaVuSans.ttf"));
        zip.entries.back().host = k.host;
        if (!k.victim.isEmpty()) {
            QFile victim(k.victim);
            ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
            victim.write(victimBytes);
        }
    }
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("escape-archive"));
    openArchive(f, folder, zip);
    for (const Case &k : cases) {
        const QString name = QString::fromLatin1(k.stored).replace(QLatin1Char('/'), QLatin1Char('\\'));
        SCOPED_TRACE(name.toStdString());
        const int row = rowOf(c.ZipBrowse, name.left(name.size() - 4));
        ASSERT_GE(row, 0);
        c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("good")));
        ASSERT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans Mono"));
        f.prompter.willAnswer(MessageAnswer::Ok);
        const size_t told = f.prompter.messages().size();
        c.ZipBrowse->selectRow(row);
        ASSERT_EQ(f.prompter.messages().size(), told + 1);
        EXPECT_EQ(f.prompter.messages().back().text,
                  QStringLiteral("The archive entry %1 was not extracted: its name leads outside the extraction folder.").arg(name));
        EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
        EXPECT_TRUE(f.form->archiveBrowser().ArchiveTempFile.isEmpty());
        EXPECT_EQ(browser.extractedPath(), QString());
        EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
        EXPECT_FALSE(f.form->fontLoader().CurrentFont.FontFilePath.contains(QStringLiteral("victim")));
        // Unpack and Install have nothing to act on.
        browser.PopZipUnpackHereClick();
        actionNamed(*f.form, QStringLiteral("PopZipInstall"))->trigger();
        EXPECT_EQ(entriesOf(folder), QStringList{QStringLiteral("test.zip")});
        EXPECT_TRUE(filesBelow(browser.extractionFolder()).isEmpty());
    }
    f.form->close();
    for (const Case &k : cases) {
        if (!k.victim.isEmpty()) {
            EXPECT_EQ(fileBytes(k.victim), victimBytes) << k.victim.toStdString();
        }
    }
    EXPECT_EQ(filesBelow(base), (QStringList{QStringLiteral("tmp/victim.ttf"), QStringLiteral("tmp/victim2.ttf"), QStringLiteral("victim.ttf")}));
}

TEST(ArchiveBrowser, EntriesArePreviewedByTheirExactNameAndPlace)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    ZipBuilder zip;
    zip.add("[ab].ttf", font("DejaVuSerif.ttf"));
    zip.add("a.ttf", font("DejaVuSansMono.ttf"));
    zip.add("b.ttf", font("DejaVuSans.ttf"));
    zip.add("*.ttf", font("DejaVuSans-Bold.ttf"));
    zip.add("case.ttf", font("DejaVuSerif.ttf"));
    zip.add("Case.ttf", font("DejaVuSansMono.ttf"));
    zip.add("dup.ttf", font("DejaVuSerif.ttf"));
    zip.add("dup.ttf", font("DejaVuSansMono.ttf"));
    openArchive(f, TestEnvironment::instance().makeFolder(QStringLiteral("exact-names")), zip);

    struct Case {
        QString caption;
        int occurrence;   // 0 the first row of that caption, 1 the next one
        QString face;
        QString file;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("[ab]"), 0, QStringLiteral("DejaVu Serif"), QStringLiteral("[ab].ttf")},
        {QStringLiteral("*"), 0, QStringLiteral("DejaVu Sans Bold"), QStringLiteral("*.ttf")},
        {QStringLiteral("case"), 0, QStringLiteral("DejaVu Serif"), QStringLiteral("case.ttf")},
        {QStringLiteral("Case"), 0, QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Case.ttf")},
        {QStringLiteral("dup"), 0, QStringLiteral("DejaVu Serif"), QStringLiteral("dup.ttf")},
        {QStringLiteral("dup"), 1, QStringLiteral("DejaVu Sans Mono"), QStringLiteral("dup.ttf")},
        {QStringLiteral("a"), 0, QStringLiteral("DejaVu Sans Mono"), QStringLiteral("a.ttf")},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.caption.toStdString() + " #" + std::to_string(k.occurrence));
        const int row = rowOf(c.ZipBrowse, k.caption);
        ASSERT_GE(row, 0);
        c.ZipBrowse->selectRow(row + k.occurrence);
        EXPECT_EQ(c.StatusPanels[3]->text(), k.face);
        EXPECT_EQ(f.form->archiveBrowser().ArchiveTempFile, k.file);
        // Only the chosen entry was extracted.
        EXPECT_EQ(filesBelow(browser.extractionFolder()), QStringList{k.file});
    }
    EXPECT_TRUE(f.prompter.messages().empty());
}

TEST(ArchiveBrowser, PreviewSizesAreHeldAgainstALimit)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    ZipBuilder zip;
    zip.add("huge.ttf", font("DejaVuSerif.ttf"));
    zip.entries.back().declaredSize = qint64(600) << 20;
    zip.add("fine.ttf", font("DejaVuSansMono.ttf"));
    openArchive(f, TestEnvironment::instance().makeFolder(QStringLiteral("sizes")), zip);
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("fine")));
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("huge")));
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages().back().text,
              QStringLiteral("The archive entry huge.ttf is 629145600 bytes (600.0 MiB) when extracted, more than the 536870912 bytes (512.0 MiB) "
                             "an extraction may take."));
    EXPECT_TRUE(f.form->archiveBrowser().ArchiveTempFile.isEmpty());
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_TRUE(filesBelow(f.form->archiveBrowser().extractionFolder()).isEmpty());
}

TEST(ArchiveBrowser, ASelectionDuringAnExtractionWaitsForIt)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    ArchiveBrowser &browser = f.form->archiveBrowser();
    ZipBuilder zip;
    zip.add("first.ttf", font("DejaVuSerif.ttf"));
    zip.add("second.ttf", font("DejaVuSansMono.ttf"));
    openArchive(f, TestEnvironment::instance().makeFolder(QStringLiteral("reentry")), zip);
    // The component lets window events run from its callback: a click lands there.
    int clicks = 0;
    f.form->zipKit().processEvents = [&] {
        if (clicks++ == 0)
            c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("second")));
    };
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("first")));
    EXPECT_GT(clicks, 1);
    EXPECT_TRUE(f.prompter.messages().empty());
    EXPECT_EQ(f.form->archiveBrowser().ArchiveTempFile, QStringLiteral("second.ttf"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(filesBelow(browser.extractionFolder()), QStringList{QStringLiteral("second.ttf")});

    // The window closes while an entry is being extracted: the run stops and leaves nothing.
    const QString folder = browser.extractionFolder();
    f.form->zipKit().processEvents = [&] { f.form->close(); };
    c.ZipBrowse->selectRow(rowOf(c.ZipBrowse, QStringLiteral("first")));
    EXPECT_TRUE(filesBelow(folder).isEmpty());
}

TEST(ArchiveBrowser, ALongTemporaryFolderIsNeverCut)
{
    // A TMPDIR of 254 characters: the private folder's path passes 260.
    const QString base = TestEnvironment::instance().makeFolder(QStringLiteral("long"));
    const QString tmp = base + QString(254 - base.size(), QLatin1Char('t'));
    ASSERT_EQ(tmp.size(), 254);
    ASSERT_TRUE(QDir().mkpath(tmp));
    TemporaryFolder variable(tmp);
    {
        FormFixture f;
        f.show();
        ArchiveBrowser &browser = f.form->archiveBrowser();
        ASSERT_GT(nativePath(browser.extractionFolder()).size(), 260);
        ZipBuilder zip;
        zip.add("faces/long.ttf", font("DejaVuSerif.ttf"));
        openArchive(f, TestEnvironment::instance().makeFolder(QStringLiteral("long-archive")), zip);
        f.form->ui().ZipBrowse->selectRow(1);
        EXPECT_TRUE(f.prompter.messages().empty());
        EXPECT_EQ(browser.extractedPath(), browser.extractionFolder() + QStringLiteral("faces/long.ttf"));
        EXPECT_EQ(fileBytes(browser.extractedPath()), font("DejaVuSerif.ttf"));
        EXPECT_EQ(f.form->ui().StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));
        // Nothing beside the private folder.
        EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QDir(browser.extractionFolder()).dirName()});
        f.form->close();
        EXPECT_EQ(filesBelow(tmp), QStringList());
    }
}
