// SPDX-License-Identifier: MIT
// The font formats of a Linux machine through the main window: listed, previewed in the font
// itself, reported, installed and uninstalled; damaged files told; files dropped from outside.
#include "FaceFont.h"
#include "FileHelpers.h"
#include "FolderBrowser.h"
#include "FontDrop.h"
#include "FontFormatBuilders.h"
#include "FontLoader.h"
#include "FormFixture.h"
#include "InstalledFonts.h"
#include "Installer.h"
#include "ListHelpers.h"
#include "ListView.h"
#include "ReportView.h"
#include "SameGlyphs.h"
#include "TFormFontInstall.h"
#include "WebFont.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

#include <gtest/gtest.h>

namespace {

using namespace FontFormatBuilders;

const QString kType1 = QStringLiteral("/usr/share/fonts/X11/Type1/NimbusSans-Bold.pfb");
const QString kCff = QStringLiteral("/usr/share/fonts/opentype/urw-base35/C059-Roman.otf");

QString writeFile(const QString &folder, const QString &name, const QByteArray &content)
{
    QFile file(folder + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return folder + name;
}

// One font file of each format, in one folder, each with a parenthesis in its name.
struct FormatFile {
    const char *what;
    QString path;
    QString face;       // the face the views show
    QString family;     // the family its naming table gives
    bool namingTable;   // sfnt-based: the report lists its names
};

std::vector<FormatFile> formatFiles(const QString &folder)
{
    const QByteArray symbol = fileBytesOf(TestEnvironment::wine(QStringLiteral("symbol.ttf")));
    const QByteArray system = fileBytesOf(TestEnvironment::wine(QStringLiteral("system.ttf")));
    const QByteArray fixedsys = fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")));
    const QByteArray small = fileBytesOf(TestEnvironment::wine(QStringLiteral("small_fonts.ttf")));
    return {
        {"TrueType", writeFile(folder, QStringLiteral("Webdings (sym).ttf"), fileBytesOf(TestEnvironment::wine(QStringLiteral("webdings.ttf")))),
         QStringLiteral("Webdings"), QStringLiteral("Webdings"), true},
        {"CFF OpenType", writeFile(folder, QStringLiteral("C059 (Roman).otf"), fileBytesOf(kCff)), QStringLiteral("C059-Roman"),
         QStringLiteral("C059"), true},
        {"Type 1", writeFile(folder, QStringLiteral("Nimbus (Bold).pfb"), fileBytesOf(kType1)), QStringLiteral("Nimbus Sans"),
         QStringLiteral("Nimbus Sans"), false},
        {"collection", writeFile(folder, QStringLiteral("Pair (2).ttc"), collection({fixedsys, small})), QStringLiteral("Fixedsys"),
         QStringLiteral("Fixedsys"), true},
        {"WOFF", writeFile(folder, QStringLiteral("Symbol (web).woff"), woff(symbol)), QStringLiteral("Symbol"), QStringLiteral("Symbol"), true},
        {"WOFF2", writeFile(folder, QStringLiteral("System (web).woff2"), woff2(system, folder + QStringLiteral("scratch"))),
         QStringLiteral("System"), QStringLiteral("System"), true},
        // A raster size of a family the system has already (coure.fon is installed).
        {"raster", writeFile(folder, QStringLiteral("Courier (12).fon"), fileBytesOf(TestEnvironment::wine(QStringLiteral("couree.fon")))),
         QStringLiteral("Courier"), QStringLiteral("Courier"), false},
    };
}

// Whether a control draws the glyphs of the face of that file (compared as pixels with the face
// loaded from the file's bytes; a web font unpacked first).
::testing::AssertionResult drawsOwnGlyphs(const QWidget *control, const QString &path, int faceIndex = 0)
{
    const std::optional<QByteArray> content = unpackedFontContent(fileBytesOf(path), FontCatalogue::kFontFileLimit);
    QString why;
    if (content && drawsFileGlyphs(control->font(), *content, faceIndex, 24, &why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << control->objectName().toStdString() << ": " << why.toStdString();
}

int rowOfFile(const ListView *list, const QString &fileName)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i).subItems.value(FontsListColumn::FileName) == fileName)
            return i;
    return -1;
}

QStringList captionsOf(const ListView *list)
{
    QStringList captions;
    for (int i = 0; i < list->count(); ++i)
        captions << list->item(i).caption;
    return captions;
}

bool reportHas(const std::vector<ReportLine> &lines, const QString &label, const QString &value)
{
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].text == label && lines[i + 1].text == value)
            return true;
    return false;
}

// Answers the install dialog: picks the type and presses OK.
ScriptedPrompter::DialogScript pressOk(int type)
{
    return [type](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        if (install.InstallType->isEnabled())
            install.InstallTypeItems[type]->click();
        install.OverwriteInstalled->setChecked(false);
        install.OK->click();
        return install.result();
    };
}

}

TEST(FontFormats, EachFormatIsListedAndPreviewsAsItself)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("formats (all)"));
    const std::vector<FormatFile> files = formatFiles(folder);

    // "All font files" lists every one of them.
    c.SelectExt->setCurrentIndex(c.SelectExt->count() - 1);
    ASSERT_EQ(c.SelectExt->currentText(), QStringLiteral("All font files"));
    ASSERT_TRUE(f.form->folderBrowser().ListFolder(folder));
    for (const FormatFile &file : files) {
        const QString name = file.path.section(QLatin1Char('/'), -1);
        EXPECT_GE(rowOf(c.FilesBrowse, name.left(name.lastIndexOf(QLatin1Char('.')))), 0) << file.what << " " << captionsOf(c.FilesBrowse).join(QLatin1Char('|')).toStdString();
    }

    f.form->Report2Click();
    for (const FormatFile &file : files) {
        SCOPED_TRACE(file.what);
        f.form->ReleaseCurrentFont();
        ASSERT_EQ(f.form->previewFontFile(file.path), 0);
        EXPECT_EQ(f.form->fontLoader().loaded().face, file.face);
        EXPECT_EQ(faceName(c.Preview), file.face);
        EXPECT_EQ(c.StatusPanels[3]->text(), file.face);
        EXPECT_EQ(c.StatusPanels[1]->text(), file.path.section(QLatin1Char('/'), -1));
        // Drawn in the font itself, not a stand-in.
        EXPECT_TRUE(drawsOwnGlyphs(c.Preview, file.path));
        const auto &lines = f.form->report().lines();
        if (file.namingTable) {
            EXPECT_TRUE(reportHas(lines, QStringLiteral("Font File Name:"), file.path));
            EXPECT_TRUE(reportHas(lines, QStringLiteral("Font Family:"), file.family));
        }
        // The map takes the face when its page is shown.
        EXPECT_EQ(faceName(c.CharactersPreview), file.face);
        c.TabsPreviewModes->setCurrentIndex(1);
        EXPECT_TRUE(drawsOwnGlyphs(c.CharactersPreview, file.path));
        c.TabsPreviewModes->setCurrentIndex(2);
    }
}

TEST(FontFormats, EachFaceOfACollectionIsReachable)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("formats-ttc"));
    const QString ttc = writeFile(folder, QStringLiteral("Pair (2).otc"),
                                  collection({fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))),
                                              fileBytesOf(TestEnvironment::wine(QStringLiteral("small_fonts.ttf")))}));
    f.form->Report2Click();
    f.form->ReleaseCurrentFont();
    ASSERT_EQ(f.form->previewFontFile(ttc), 0);
    QComboBox *chooser = f.form->faceChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_FALSE(chooser->isHidden());
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(0), QStringLiteral("Face 1 of 2: Fixedsys"));
    EXPECT_EQ(chooser->itemText(1), QStringLiteral("Face 2 of 2: Small Fonts"));
    EXPECT_TRUE(reportHas(f.form->report().lines(), QStringLiteral("Face:"), QStringLiteral("1 of 2")));

    // Choosing the second face shows it, names and all.
    chooser->activated(1);
    EXPECT_EQ(f.form->fontLoader().loaded().faceIndex, 1);
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("Small Fonts"));
    EXPECT_TRUE(drawsOwnGlyphs(c.Preview, ttc, 1));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Small Fonts"));
    EXPECT_EQ(chooser->currentIndex(), 1);
    EXPECT_TRUE(reportHas(f.form->report().lines(), QStringLiteral("Face:"), QStringLiteral("2 of 2")));
    EXPECT_TRUE(reportHas(f.form->report().lines(), QStringLiteral("Font Family:"), QStringLiteral("Small Fonts")));

    // A single font hides the chooser again.
    f.form->ReleaseCurrentFont();
    ASSERT_EQ(f.form->previewFontFile(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))), 0);
    EXPECT_TRUE(chooser->isHidden());
}

TEST(FontFormats, ADamagedFileOfEachFormatIsTold)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("formats (damaged)"));
    const QByteArray sans = fileBytesOf(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")));
    QByteArray badWoff = woff(sans);
    put32(badWoff, 44 + 4, 0xFFFFFF00u);   // the first table lies past the end
    const QByteArray goodWoff2 = woff2(fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))), folder + QStringLiteral("scratch"));
    QByteArray badCollection = collection({sans});
    put32(badCollection, 12, static_cast<std::uint32_t>(badCollection.size() + 100));
    const QByteArray garbage = QByteArray("This is not a font at all.\n").repeated(40);
    const std::pair<const char *, QByteArray> broken[] = {
        {"Broken (1).ttf", sans.left(sans.size() / 3)},
        {"Broken (2).otf", fileBytesOf(kCff).left(2000)},
        {"Broken (3).ttc", badCollection},
        {"Broken (4).otc", garbage},
        {"Broken (5).woff", badWoff},
        {"Broken (6).woff2", goodWoff2.left(goodWoff2.size() / 2)},
        {"Broken (7).pfb", garbage},
        {"Broken (8).pfa", garbage},
        {"Broken (9).fon", fileBytesOf(TestEnvironment::wine(QStringLiteral("couree.fon"))).left(300)},
        {"Broken (10).fnt", garbage},
    };
    // Something shows first; a damaged file leaves it as it was, and says why.
    ASSERT_EQ(f.form->previewFontFile(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))), 0);
    for (const auto &[name, content] : broken) {
        SCOPED_TRACE(name);
        const QString path = writeFile(folder, QString::fromLatin1(name), content);
        f.form->ReleaseCurrentFont();
        f.prompter.willAnswer(MessageAnswer::Ok);
        EXPECT_EQ(f.form->previewFontFile(path), 2);
        ASSERT_FALSE(f.prompter.messages().empty());
        EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load %1: it is not a font that can be shown, or it is damaged.").arg(path));
        EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
        // Nothing of the previous font stays in the status bar.
        EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
        EXPECT_EQ(c.StatusPanels[3]->text(), QString());
        EXPECT_FALSE(f.catalogue.isTemporary(path));
    }
}

TEST(FontFormats, EachFormatInstallsAndUninstallsAndTheListFollows)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("formats (install)"));
    c.SelectExt->setCurrentIndex(c.SelectExt->count() - 1);
    std::vector<FormatFile> files = formatFiles(folder);
    // The list shows a family once, by one of its files: the raster font installed is one of a
    // family the system does not have yet, so that its row is this file's.
    for (FormatFile &file : files)
        if (file.path.endsWith(QLatin1String(".fon"))) {
            QFile::remove(file.path);
            file.path = writeFile(folder, QStringLiteral("Small (8).fon"), fileBytesOf(TestEnvironment::wine(QStringLiteral("smalle.fon"))));
            file.face = QStringLiteral("Small Fonts");
        }
    for (const FormatFile &file : files) {
        SCOPED_TRACE(file.what);
        const QString name = file.path.section(QLatin1Char('/'), -1);
        f.form->folderBrowser().ListFolder(folder);
        f.form->ReleaseCurrentFont();
        ASSERT_EQ(f.form->previewFontFile(file.path), 0);
        EXPECT_LT(rowOfFile(c.FontsList, name), 0);

        // Copied into the fonts folder as the file itself.
        f.prompter.willRunDialog(pressOk(1));
        ASSERT_EQ(f.form->installer().InstallFontFile(file.path, true), ModalResult::Ok);
        EXPECT_EQ(fileBytes(f.paths.systemFontsFolder + name), fileBytes(file.path));
        // The list follows at once, without a Refresh.
        f.form->installedFonts().waitUntilLoaded();
        const int row = rowOfFile(c.FontsList, name);
        ASSERT_GE(row, 0) << captionsOf(c.FontsList).join(QLatin1Char('|')).toStdString();

        // Uninstalled from the list: the file goes, and the list follows again.
        f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
        c.FontsList->selectRow(row);
        f.prompter.willAnswer(MessageAnswer::Yes);
        f.form->installer().Uninstall1Click();
        f.form->installedFonts().waitUntilLoaded();
        EXPECT_FALSE(QFile::exists(f.paths.systemFontsFolder + name));
        for (const char *suffix : {" (TrueType)", " (OpenType)", " (Type 1)", " (VGA res)"})
            EXPECT_FALSE(f.fontsKey.readString(file.face + QLatin1String(suffix)).has_value()) << suffix;
        EXPECT_LT(rowOfFile(c.FontsList, name), 0);
    }
}

TEST(FontFormats, ASystemFontIsNotUninstalledButSaidToBeTheSystems)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    ListView::Item system;
    int row = -1;
    for (int i = 0; i < c.FontsList->count() && row < 0; ++i)
        if (c.FontsList->item(i).subItems.value(FontsListColumn::FileName).startsWith(QLatin1Char('/')))
            row = i;
    ASSERT_GE(row, 0) << "no system font in the list";
    const QString file = c.FontsList->item(row).subItems.value(FontsListColumn::FileName);
    const int rows = c.FontsList->count();
    c.FontsList->selectRow(row);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Uninstall1Click();
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text,
              file + QStringLiteral(" is a system font. System fonts are managed by the system and cannot be uninstalled here."));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Information);
    EXPECT_EQ(c.FontsList->count(), rows);
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST(FontFormats, DroppedFilesArePreviewedOpenedOrOfferedForInstall)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("formats (drop)"));
    const QString fixedsys = writeFile(folder, QStringLiteral("Fixed (sys).ttf"), fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    const QString symbol = writeFile(folder, QStringLiteral("Symbol (web).woff"), woff(fileBytesOf(TestEnvironment::wine(QStringLiteral("symbol.ttf")))));
    const QString notes = writeFile(folder, QStringLiteral("notes.txt"), "not a font");
    const QString archive = writeFile(folder, QStringLiteral("Fonts (zip).zip"), fileBytes(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));

    // What a drop holds: fonts and archives, nothing else.
    const DropPlan plan = planDrop({QUrl::fromLocalFile(fixedsys), QUrl::fromLocalFile(notes), QUrl::fromLocalFile(archive),
                                    QUrl::fromLocalFile(folder), QUrl(QStringLiteral("https://example.org/x.ttf")), QUrl::fromLocalFile(symbol)});
    EXPECT_EQ(plan.fonts, QStringList({fixedsys, symbol}));
    EXPECT_EQ(plan.archives, QStringList({archive}));

    auto drop = [&](const QList<QUrl> &urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.form.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.form.get(), &event);
        return event.isAccepted();
    };
    // One font file: previewed, ready to install.
    EXPECT_TRUE(drop({QUrl::fromLocalFile(symbol)}));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("Symbol"));
    EXPECT_EQ(f.form->fontLoader().CurrentFont.FontFilePath, symbol);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);

    // Several: offered for install, each through the install dialog.
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.prompter.willRunDialog(pressOk(1));
    f.prompter.willRunDialog([](QDialog &) { return ModalResult::Cancel; });
    f.prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(drop({QUrl::fromLocalFile(fixedsys), QUrl::fromLocalFile(notes), QUrl::fromLocalFile(symbol)}));
    const auto &messages = f.prompter.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2].text, QStringLiteral("Install the 2 dropped font files?"));
    EXPECT_EQ(messages.back().text, QStringLiteral("1 of 2 dropped font files have been installed."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("Fixed (sys).ttf")));
    EXPECT_FALSE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("Symbol (web).woff")));

    // Nothing the program takes: the drop is left to others.
    EXPECT_FALSE(drop({QUrl::fromLocalFile(notes)}));
}
