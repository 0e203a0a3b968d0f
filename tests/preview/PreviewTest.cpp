// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "CharacterMap.h"
#include "Desktop.h"
#include "FaceFont.h"
#include "FontFamilies.h"
#include "FontFormatBuilders.h"
#include "FontLoader.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "ReportView.h"
#include "SameGlyphs.h"
#include "SampleTexts.h"
#include "TFormGoTo.h"
#include "TextSample.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

void press(QWidget *target, Qt::Key key, const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &event);
}

// A map of 256 codes in a grid 254 pixels wide with 20-pixel cells.
void standardMap(FormFixture &f, int charset = 0)
{
    TFormPreviewUi &c = f.form->ui();
    f.form->CharMap2Click();
    c.CharactersPreview->setFixedWidth(254);
    c.SelectCharset->clear();
    c.SelectCharset->addItem(charset == 2 ? QStringLiteral("Symbol") : QStringLiteral("ANSI"));
    f.form->characterMap().FillCharacterMap(255, charset);
}

QString copyTo(const QString &source, const QString &folderName)
{
    const QString target = TestEnvironment::instance().makeFolder(folderName) + source.section(QLatin1Char('/'), -1);
    QFile::copy(source, target);
    return target;
}


}

TEST(TextSample, StylesToggleOnAllThreeFontsAndKeepTheOthers)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    QAction *bold = actionNamed(*f.form, QStringLiteral("Bold1"));
    bold->trigger();
    EXPECT_TRUE(bold->isChecked());
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("BtnBold"))->isChecked());
    actionNamed(*f.form, QStringLiteral("BtnItalic"))->trigger();
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("Italic1"))->isChecked());
    bold->trigger();
    for (QWidget *w : {static_cast<QWidget *>(c.Preview), static_cast<QWidget *>(c.CharactersPreview), static_cast<QWidget *>(c.SymbolPreview)}) {
        EXPECT_FALSE(w->font().bold()) << w->objectName().toStdString();
        EXPECT_TRUE(w->font().italic()) << w->objectName().toStdString();
    }
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("BtnBold"))->isChecked());
    actionNamed(*f.form, QStringLiteral("StrikeOut1"))->trigger();
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("StrikeOut1"))->isChecked());
    EXPECT_TRUE(c.Preview->font().strikeOut());

    // A new font keeps size and styles.
    c.FontSize->setValue(20);
    setFaceName(c.Preview, QStringLiteral("DejaVu Serif"), f.catalogue);
    EXPECT_EQ(c.Preview->font().pointSize(), 20);
    EXPECT_TRUE(c.Preview->font().italic());
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("DejaVu Serif"));

    c.FontSize->setValue(99);
    EXPECT_EQ(c.FontSize->value(), 75);
    EXPECT_EQ(c.Preview->font().pointSize(), 75);
}

TEST(TextSample, TestOnTheFirstLineTurnsTheNextKeyIntoTheMultilingualSample)
{
    FormFixture f;
    f.show();
    TextSample &sample = f.form->textSample();
    QPlainTextEdit *preview = f.form->ui().Preview;
    EXPECT_EQ(sample.lines().size(), 15);
    EXPECT_EQ(sample.lines().value(0), QStringLiteral("He was a mongoose, rather like a little "));
    EXPECT_EQ(sample.lines().value(9), QStringLiteral("scuttled through the long grass, was: "));

    for (const QStringList &text : {QStringList{QStringLiteral("Test")}, QStringList{QStringLiteral("test ")},
                                    QStringList{QStringLiteral("x"), QStringLiteral("test")}}) {
        sample.setLines(text);
        press(preview, Qt::Key_A, QStringLiteral("a"));
        EXPECT_NE(sample.lines().value(0), QStringLiteral("France:"));
    }
    sample.setLines({QStringLiteral("test")});
    press(preview, Qt::Key_Left);
    EXPECT_EQ(sample.lines(), QStringList{QStringLiteral("test")});
    press(preview, Qt::Key_A, QStringLiteral("a"));
    const QStringList lines = sample.lines();
    EXPECT_EQ(lines.value(0), QStringLiteral("France:"));
    EXPECT_EQ(lines.size(), 59);   // 58 lines and the empty one after the final line feed
    EXPECT_EQ(lines.value(1), QStringLiteral("A noir, E blanc, I rouge, U vert, O bleu: voyelles,"));
    EXPECT_EQ(lines.value(20), QStringLiteral("English:"));
    EXPECT_EQ(lines.value(40), QStringLiteral("Russian:"));
    EXPECT_TRUE(multilingualSampleText().endsWith(QLatin1Char('\n')));
    // Typing goes on normally from here.
    press(preview, Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(sample.lines().size(), 59);
}

TEST(TextSample, LoadsSingleByteTextAndReportsAFileItCannotOpen)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("texts"));
    QFile file(folder + QStringLiteral("cp1252.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("caf\xe9\r\nline two\rthree\n");
    file.close();
    f.prompter.willChooseFile(file.fileName());
    actionNamed(*f.form, QStringLiteral("LoadText1"))->trigger();
    EXPECT_EQ(f.form->textSample().lines(), (QStringList{QStringLiteral("café"), QStringLiteral("line two"), QStringLiteral("three")}));
    ASSERT_EQ(f.prompter.asked().size(), 1u);
    EXPECT_EQ(f.prompter.asked()[0].caption, QStringLiteral("Тестовые файлы (*.txt)|*.txt|Все файлы|*.*"));

    f.prompter.willChooseFile(folder + QStringLiteral("missing.txt"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    actionNamed(*f.form, QStringLiteral("LoadText1"))->trigger();
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Cannot open file ") + folder + QStringLiteral("missing.txt"));
    EXPECT_EQ(f.form->textSample().lines().value(0), QStringLiteral("café"));

    actionNamed(*f.form, QStringLiteral("Clear1"))->trigger();
    EXPECT_TRUE(f.form->textSample().lines().isEmpty());
}

TEST(CharacterMap, LaysCodesOutByTheGridWidth)
{
    FormFixture f;
    f.show();
    standardMap(f);
    CharacterMap &map = f.form->characterMap();
    QTableWidget *grid = f.form->ui().CharactersPreview;
    EXPECT_EQ(grid->columnCount(), 10);
    EXPECT_EQ(grid->rowCount(), 26);
    EXPECT_EQ(map.cellText(5, 6), QStringLiteral("A"));
    EXPECT_EQ(map.cellText(5, 25), QStringLiteral("\u00FF"));
    EXPECT_EQ(map.cellText(6, 25), QString());
    EXPECT_EQ(map.cellText(9, 25), QString());
    EXPECT_EQ(map.cellText(8, 12), QStringLiteral("\u20AC"));   // byte 128 in Windows-1252
    EXPECT_EQ(map.lastCode(), 255);

    grid->setFixedWidth(50);
    map.FillCharacterMap(255, 0);
    EXPECT_EQ(grid->columnCount(), 1);
    EXPECT_EQ(grid->rowCount(), 256);
}

TEST(CharacterMap, GoToByCodeAndBySymbol)
{
    FormFixture f;
    f.show();
    standardMap(f);
    TFormPreviewUi &c = f.form->ui();
    CharacterMap &map = f.form->characterMap();
    QTableWidget *grid = c.CharactersPreview;

    c.GoTo->setText(QStringLiteral("65"));
    map.GoStartClick();
    EXPECT_EQ(grid->currentColumn(), 5);
    EXPECT_EQ(grid->currentRow(), 6);
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("65"));
    EXPECT_EQ(c.OriginalLetter->text(), QStringLiteral("A"));
    EXPECT_EQ(Desktop::clipboardText(), QStringLiteral("A"));

    c.GoTo->setText(QStringLiteral("256"));
    map.GoStartClick();
    EXPECT_EQ(grid->currentColumn(), 6);
    EXPECT_EQ(grid->currentRow(), 25);
    EXPECT_EQ(c.OriginalLetter->text(), QString());

    for (const char *bad : {"260", "-1"}) {
        f.prompter.willAnswer(MessageAnswer::Ok);
        c.GoTo->setText(QString::fromLatin1(bad));
        map.GoStartClick();
    }
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.GoTo->clear();
    map.GoStartClick();
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.GoTo->setText(QStringLiteral("6x"));
    f.form->guarded([&] { map.GoStartClick(); });
    ASSERT_EQ(f.prompter.messages().size(), 4u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Unknown symbol"));
    EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(f.prompter.messages()[1].text, QStringLiteral("Unknown symbol"));
    EXPECT_EQ(f.prompter.messages()[2].text, QStringLiteral("You've entered nothing"));
    EXPECT_EQ(f.prompter.messages()[3].text, QStringLiteral("'6x' is not a valid integer value"));
    EXPECT_EQ(grid->currentColumn(), 6);   // unchanged by the failures

    c.GoToSymbol->setChecked(true);
    c.GoTo->setText(QStringLiteral("AB"));
    map.GoStartClick();
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("65"));
    c.GoTo->setText(QStringLiteral("$FF"));
    c.GoToCode->setChecked(true);
    map.GoStartClick();
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("255"));
    c.AcsiiHex->click();
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("FF"));
    EXPECT_EQ(Desktop::clipboardText(), QStringLiteral("\u00FF"));

    // The Go To dialog hands its field and choice to the panel.
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &goTo = static_cast<TFormGoTo &>(dialog);
        EXPECT_EQ(goTo.windowTitle(), QStringLiteral("Go To"));
        goTo.GoTo->setText(QStringLiteral("B"));
        goTo.GoToSymbol->setChecked(true);
        return ModalResult::Ok;
    });
    actionNamed(*f.form, QStringLiteral("GoTo1"))->trigger();
    EXPECT_EQ(c.GoTo->text(), QStringLiteral("B"));
    EXPECT_TRUE(c.GoToSymbol->isChecked());
    c.AsciiDec->click();
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("66"));
}

TEST(CharacterMap, AmpersandCodeZeroBufferAndResize)
{
    FormFixture f;
    f.show();
    standardMap(f);
    TFormPreviewUi &c = f.form->ui();
    CharacterMap &map = f.form->characterMap();
    QTableWidget *grid = c.CharactersPreview;

    grid->setCurrentCell(3, 8);   // code 38
    EXPECT_EQ(symbolCaption(c.SymbolPreview), QStringLiteral("&&"));
    EXPECT_EQ(c.SymbolPreview->text(), QStringLiteral("&"));
    EXPECT_EQ(c.OriginalLetter->text(), QStringLiteral("&"));
    c.SelectCharset->clear();
    c.SelectCharset->addItem(QStringLiteral("Symbol"));
    map.CharactersPreviewClick();
    EXPECT_EQ(symbolCaption(c.SymbolPreview), QStringLiteral("&"));
    EXPECT_EQ(c.OriginalLetter->text(), QStringLiteral("&"));

    Desktop::setClipboardText(QStringLiteral("before"));
    grid->setCurrentCell(0, 0);
    EXPECT_EQ(c.AsciiCode->text(), QStringLiteral("0"));
    EXPECT_EQ(c.OriginalLetter->text(), QString());
    EXPECT_EQ(symbolCaption(c.SymbolPreview), QString());
    EXPECT_EQ(Desktop::clipboardText(), QString());

    c.CopyBuff->setText(QStringLiteral("x"));
    grid->setCurrentCell(6, 5);
    map.CopyBuff1Click();
    grid->setCurrentCell(6, 6);
    emit grid->cellDoubleClicked(6, 6);
    EXPECT_EQ(c.CopyBuff->text(), QStringLiteral("xAB"));
    actionNamed(*f.form, QStringLiteral("BuffToClipboard1"))->setEnabled(true);
    map.BuffToClipboard1Click();
    EXPECT_EQ(Desktop::clipboardText(), QStringLiteral("xAB"));

    // A wider grid re-lays the map and keeps "B" selected.
    grid->setFixedWidth(404);
    map.FormResize();
    EXPECT_EQ(grid->columnCount(), 18);
    EXPECT_EQ(grid->currentRow() * 18 + grid->currentColumn(), 66);
    EXPECT_EQ(c.OriginalLetter->text(), QStringLiteral("B"));

    // Hiding the symbol panel with the command, and back.
    actionNamed(*f.form, QStringLiteral("CharPreview2"))->trigger();
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("CharPreview2"))->isChecked());
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("BtnCharPreview"))->isChecked());
    EXPECT_TRUE(c.SymbolGroup->isHidden());
    actionNamed(*f.form, QStringLiteral("BtnCharPreview"))->trigger();
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("CharPreview2"))->isChecked());
    EXPECT_FALSE(c.SymbolGroup->isHidden());
}

TEST(FontLoading, TrueTypeFilesByTheirNameTable)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    FontLoader &loader = f.form->fontLoader();

    // A copy of an installed file is installed, wherever it lies.
    const QString bold = copyTo(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-Bold.ttf")), QStringLiteral("load-bold"));
    f.form->ReleaseCurrentFont();
    EXPECT_EQ(f.form->previewFontFile(bold), 0);
    // What loading found, and what the views show of it.
    EXPECT_TRUE(loader.loaded().trueType);
    EXPECT_TRUE(loader.loaded().installed);
    EXPECT_EQ(loader.loaded().face, QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(loader.loaded().charset, 0);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("DejaVuSans-Bold.ttf"));
    EXPECT_EQ(c.StatusPanels[2]->text(), QStringLiteral("Installed"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(faceName(c.SymbolPreview), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(c.SelectCharset->count(), 1);
    EXPECT_EQ(c.SelectCharset->currentText(), QStringLiteral("ANSI"));
    EXPECT_EQ(f.form->characterMap().lastCode(), 255);
    EXPECT_TRUE(f.catalogue.isTemporary(bold));
    EXPECT_EQ(f.form->fontLoader().CurrentFont.FontFilePath, bold);
    EXPECT_TRUE(f.form->report().lines().empty());

    // The next load gives the first file back first; upper-case extensions are TrueType too.
    const QString regular = TestEnvironment::instance().makeFolder(QStringLiteral("load-regular")) + QStringLiteral("SANS.TTF");
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), regular);
    f.form->Report2Click();
    f.form->ReleaseCurrentFont();
    EXPECT_EQ(f.form->previewFontFile(regular), 0);
    EXPECT_FALSE(f.catalogue.isTemporary(bold));
    EXPECT_EQ(c.StatusPanels[2]->text(), QStringLiteral("Installed"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans"));
    // In the report mode the file report is written.
    const auto &lines = f.form->report().lines();
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[3].text, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(lines[5].text, regular);
    const bool hasSubfamily = std::any_of(lines.begin(), lines.end(), [](const ReportLine &l) { return l.text == QLatin1String("Font Subfamily:"); });
    EXPECT_TRUE(hasSubfamily);

    // Not a font at all: nothing is added, result 2.
    const QString bogus = TestEnvironment::instance().makeFolder(QStringLiteral("load-bogus")) + QStringLiteral("bogus.ttf");
    QFile out(bogus);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("not a font");
    out.close();
    f.form->ReleaseCurrentFont();
    f.prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_EQ(f.form->previewFontFile(bogus), 2);
    // Nothing of the previous font stays in the status bar.
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QString());
    // Told, not a silent fallback to the last font.
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load %1: it is not a font that can be shown, or it is damaged.").arg(bogus));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
}

TEST(FontLoading, OtherFilesByTheFacesTheyAdd)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    FontLoader &loader = f.form->fontLoader();

    // A raster font the system does not have adds a face.
    const QString small = copyTo(TestEnvironment::wine(QStringLiteral("smalle.fon")), QStringLiteral("load-small"));
    EXPECT_EQ(f.form->previewFontFile(small), 0);
    EXPECT_FALSE(loader.loaded().trueType);
    EXPECT_EQ(loader.loaded().face, QStringLiteral("Small Fonts"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Small Fonts"));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("Small Fonts"));

    // An identical copy of an installed raster font adds none: its face comes from the list's
    // "File Name" column.
    const QString sans = copyTo(TestEnvironment::wine(QStringLiteral("sserife.fon")), QStringLiteral("load-sserife"));
    f.form->ReleaseCurrentFont();
    EXPECT_EQ(f.form->previewFontFile(sans), 0);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("sserife.fon"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(f.form->report().lines().empty());

    EXPECT_EQ(NewFaceName({QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("B")}), QStringLiteral("X"));
    EXPECT_EQ(NewFaceName({QStringLiteral("A")}, {QStringLiteral("A"), QStringLiteral("N")}), QStringLiteral("N"));
    EXPECT_EQ(NewFaceName({QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("A")}), QStringLiteral("B"));
    EXPECT_EQ(NewFaceName({QStringLiteral("A")}, {QStringLiteral("A")}), QString());
}

namespace {

// The font file with its naming table replaced by one that names another family and style: a
// font of another design under an installed family's name.
QByteArray renamedFont(const QByteArray &font, const QString &family, const QString &style)
{
    auto get16 = [&](qsizetype at) { return static_cast<int>(static_cast<std::uint8_t>(font[at]) << 8 | static_cast<std::uint8_t>(font[at + 1])); };
    auto put = [](QByteArray &b, qsizetype at, int v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = static_cast<char>(v >> (8 * (bytes - 1 - i)));
    };
    QByteArray out = font;
    while (out.size() % 4)
        out.append('\0');
    const QList<std::pair<int, QString>> names{{1, family}, {2, style}, {4, family + QLatin1Char(' ') + style}};
    QByteArray table(6 + 12 * names.size(), '\0'), strings;
    put(table, 2, static_cast<int>(names.size()), 2);
    put(table, 4, static_cast<int>(table.size()), 2);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QByteArray text;
        for (QChar c : names[i].second)
            text.append(static_cast<char>(c.unicode() >> 8)).append(static_cast<char>(c.unicode()));
        for (const auto [at, v] : {std::pair{0, 3}, {2, 1}, {4, 0x409}, {6, names[i].first}, {8, static_cast<int>(text.size())}, {10, static_cast<int>(strings.size())}})
            put(table, 6 + 12 * i + at, v, 2);
        strings += text;
    }
    for (int t = 0; t < get16(4); ++t)
        if (font.mid(12 + 16 * t, 4) == "name") {
            put(out, 12 + 16 * t + 8, static_cast<int>(out.size()), 4);
            put(out, 12 + 16 * t + 12, static_cast<int>(table.size() + strings.size()), 4);
        }
    return out + table + strings;
}

}

// Every view of a previewed file draws that file's glyphs, compared as pixels with the face loaded
// straight from the file: a face whose family the toolkit does not list under that name, raster
// files (whose codes are bytes), a raster family the system has too, a Type 1 font, and a file of
// another design named like an installed family.
TEST(FontLoading, PreviewedFilesDrawTheirOwnGlyphs)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("own-glyphs"));
    auto impostor = [&](const QString &name, const QString &source, const QString &family, const QString &style) {
        QFile out(folder + name);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(renamedFont(FontFormatBuilders::fileBytesOf(TestEnvironment::dejaVu(source)), family, style));
        return out.fileName();
    };
    const struct {
        QString file;
        QString face;
        int pixels;
    } cases[] = {
        {TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-ExtraLight.ttf")), QStringLiteral("DejaVu Sans ExtraLight"), 24},
        {TestEnvironment::wine(QStringLiteral("couree.fon")), QStringLiteral("Courier"), 13},
        {TestEnvironment::wine(QStringLiteral("smalle.fon")), QStringLiteral("Small Fonts"), 0},
        {QStringLiteral("/usr/share/fonts/X11/Type1/NimbusSans-Italic.pfb"), QStringLiteral("Nimbus Sans"), 24},
        {impostor(QStringLiteral("a.ttf"), QStringLiteral("DejaVuSerif.ttf"), QStringLiteral("DejaVu Sans"), QStringLiteral("Book")), QStringLiteral("DejaVu Sans Book"), 24},
        {impostor(QStringLiteral("b.ttf"), QStringLiteral("DejaVuSerif.ttf"), QStringLiteral("DejaVu Sans"), QStringLiteral("Regular")), QStringLiteral("DejaVu Sans Regular"), 24},
        {impostor(QStringLiteral("c.ttf"), QStringLiteral("DejaVuSans.ttf"), QStringLiteral("DejaVu Serif"), QStringLiteral("Bold")), QStringLiteral("DejaVu Serif Bold"), 24},
        {impostor(QStringLiteral("d.ttf"), QStringLiteral("DejaVuSerif.ttf"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Book")), QStringLiteral("DejaVu Sans Mono Book"), 24},
        {impostor(QStringLiteral("e.ttf"), QStringLiteral("DejaVuSerif.ttf"), QStringLiteral("Tahoma"), QStringLiteral("Regular")), QStringLiteral("Tahoma Regular"), 24},
    };
    for (const auto &one : cases) {
        SCOPED_TRACE(one.file.toStdString());
        f.form->ReleaseCurrentFont();
        ASSERT_EQ(f.form->previewFontFile(one.file), 0);
        EXPECT_EQ(f.form->fontLoader().loaded().face, one.face);
        const FontFacts *facts = f.catalogue.temporaryFacts(one.file, 0);
        ASSERT_NE(facts, nullptr);
        const int pixels = one.pixels > 0 ? one.pixels : facts->height;
        const QByteArray content = FontFormatBuilders::fileBytesOf(one.file);
        f.form->UnicodeMap2Click();
        for (QWidget *view : {static_cast<QWidget *>(c.Preview), static_cast<QWidget *>(c.CharactersPreview),
                              static_cast<QWidget *>(c.SymbolPreview), static_cast<QWidget *>(c.UnicodeGrid)}) {
            QString why;
            EXPECT_TRUE(drawsFileGlyphs(view->font(), content, 0, pixels, &why)) << view->objectName().toStdString() << ": " << why.toStdString();
            EXPECT_EQ(faceName(view), one.face);
        }
        // The styles still apply to the sample's own font.
        f.form->CharMap2Click();
        QAction *bold = actionNamed(*f.form, QStringLiteral("Bold1"));
        bold->trigger();
        EXPECT_TRUE(c.Preview->font().bold());
        EXPECT_EQ(c.Preview->font().families(), c.UnicodeGrid->font().families());
        bold->trigger();
        EXPECT_FALSE(c.Preview->font().bold());
    }
}

TEST(FontReport, SelectingInstalledFontsInReportMode)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    f.form->Report2Click();
    ListView *list = c.FontsList;
    list->selectRow(rowOf(list, QStringLiteral("DejaVu Sans")));
    const auto &lines = f.form->report().lines();
    QStringList headings;
    int charsetLines = 0;
    for (const ReportLine &l : lines) {
        if (l.kind == ReportLineKind::Heading && !l.text.isEmpty())
            headings << l.text;
        if (l.kind == ReportLineKind::Value && l.text.startsWith(QStringLiteral("- ")))
            ++charsetLines;
    }
    EXPECT_EQ(headings, (QStringList{QStringLiteral("General Options"), QStringLiteral("Text Options"), QStringLiteral("Charsets"),
                                     QStringLiteral("Additional Options")}));
    EXPECT_EQ(charsetLines, c.SelectCharset->count());
    EXPECT_GT(charsetLines, 3);
    // The names come from the font's own file.
    const bool copyright = std::any_of(lines.begin(), lines.end(), [](const ReportLine &l) { return l.text.contains(QStringLiteral("Bitstream")); });
    EXPECT_TRUE(copyright);
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(f.form->characterMap().lastCode(), 255);

    // The report saved as rich text.
    const QString rtf = TestEnvironment::instance().makeFolder(QStringLiteral("report")) + QStringLiteral("report.rtf");
    f.prompter.willChooseFile(rtf);
    actionNamed(*f.form, QStringLiteral("SaveAs1"))->trigger();
    QFile saved(rtf);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    EXPECT_TRUE(content.startsWith("{\\rtf1"));
    EXPECT_TRUE(content.contains("General Options"));
    EXPECT_TRUE(content.contains("Bitstream"));
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Rich Text Forma (*.rtf)|*.rtf|All files|*.*"));

    // The popup's Copy needs a selection.
    f.form->report().PopupReportPopup();
    QAction *copy = f.form->report().popup()->findChild<QAction *>(QStringLiteral("Copy3"));
    EXPECT_FALSE(copy->isEnabled());
    f.form->report().SelectAllClick();
    f.form->report().PopupReportPopup();
    EXPECT_TRUE(copy->isEnabled());

    // A raster font gets no report.
    list->selectRow(rowOf(list, QStringLiteral("MS Sans Serif")));
    EXPECT_TRUE(f.form->report().lines().empty());
    EXPECT_TRUE(c.ReportEdit->toPlainText().isEmpty());
    EXPECT_EQ(c.StatusPanels[1]->text(), TestEnvironment::instance().testFontsFolder() + QStringLiteral("sserife.fon"));

    // In the text mode a selection writes no report; switching to the report mode does.
    f.form->FontPreview2Click();
    list->selectRow(rowOf(list, QStringLiteral("Tahoma")));
    EXPECT_TRUE(f.form->report().lines().empty());
    f.form->Report2Click();
    EXPECT_FALSE(f.form->report().lines().empty());
    EXPECT_EQ(f.form->report().lines()[3].text, QStringLiteral("Tahoma"));
}

// Installed faces reach the toolkit as fonts of their own: its font list holds only the window's
// fonts, each row still draws its own file, and the faces asked for long ago are given back.
TEST(InstalledFaces, AreDrawnFromTheirOwnFilesWhateverTheToolkitLists)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString installed = TestEnvironment::instance().root() + QStringLiteral("/testfonts/");
    auto fileOf = [&](const QString &name) { return FontFormatBuilders::fileBytesOf(installed + name); };
    auto check = [](const QFont &font, const QByteArray &content, int pixels, const char *what) {
        QString why;
        EXPECT_TRUE(drawsFileGlyphs(font, content, 0, pixels, &why)) << what << ": " << why.toStdString();
    };
    const qsizetype listedAtFirst = QFontDatabase::families().size();
    // A font installed now (DejaVu Serif under another name) is drawn; the toolkit, which reads
    // its font list again each time a font is given to it, still does not list it.
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.systemFontsFolder);
    const QByteArray serif = fileOf(QStringLiteral("DejaVuSerif.ttf"));
    QFile added(paths.systemFontsFolder + QStringLiteral("added.ttf"));
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    added.write(renamedFont(serif, QStringLiteral("Glyvanta Added"), QStringLiteral("Book")));
    added.close();
    f.catalogue.rescan(paths.systemFontsFolder);
    QFont addedFont;
    addedFont.setFamilies({f.catalogue.drawnStyle(QStringLiteral("Glyvanta Added")).family});
    addedFont.setStyleStrategy(QFont::NoFontMerging);
    check(addedFont, serif, 24, "Glyvanta Added");
    EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("Glyvanta Added")));
    QFile::remove(added.fileName());
    f.catalogue.rescan(paths.systemFontsFolder);

    // The family's bold is its own bold face, not the book face thickened.
    c.FontsList->selectRow(rowOf(c.FontsList, QStringLiteral("DejaVu Sans")));
    check(c.Preview->font(), fileOf(QStringLiteral("DejaVuSans.ttf")), 24, "DejaVu Sans");
    QAction *bold = actionNamed(*f.form, QStringLiteral("Bold1"));
    bold->trigger();
    ASSERT_TRUE(c.Preview->font().bold());
    check(c.Preview->font(), fileOf(QStringLiteral("DejaVuSans-Bold.ttf")), 24, "DejaVu Sans, bold");
    bold->trigger();
    c.FontsList->selectRow(rowOf(c.FontsList, QStringLiteral("Tahoma")));
    check(c.Preview->font(), fileOf(QStringLiteral("tahoma.ttf")), 24, "Tahoma");
    f.form->CharMap2Click();
    c.FontsList->selectRow(rowOf(c.FontsList, QStringLiteral("DejaVu Serif")));
    check(c.CharactersPreview->font(), fileOf(QStringLiteral("DejaVuSerif.ttf")), 24, "DejaVu Serif");

    // More names than are kept, twice over: each is drawn right again after it was given back, and
    // the toolkit's list does not grow with the names asked for.
    const FontconfigFace standIn = fontconfigFaceFor(QStringLiteral("Times New Roman"));
    ASSERT_FALSE(standIn.file.isEmpty());
    const std::pair<QString, QByteArray> names[] = {
        {QStringLiteral("DejaVu Sans"), fileOf(QStringLiteral("DejaVuSans.ttf"))},
        {QStringLiteral("DejaVu Sans Bold"), fileOf(QStringLiteral("DejaVuSans-Bold.ttf"))},
        {QStringLiteral("DejaVu Sans Mono"), fileOf(QStringLiteral("DejaVuSansMono.ttf"))},
        {QStringLiteral("DejaVu Serif"), fileOf(QStringLiteral("DejaVuSerif.ttf"))},
        {QStringLiteral("Tahoma"), fileOf(QStringLiteral("tahoma.ttf"))},
        {QStringLiteral("Times New Roman"), FontFormatBuilders::fileBytesOf(standIn.file)},
        {QStringLiteral("MS Sans Serif"), QByteArray()},
        {QStringLiteral("Courier"), QByteArray()},
        {QStringLiteral("Marlett"), QByteArray()},
        {QStringLiteral("tahoma"), fileOf(QStringLiteral("tahoma.ttf"))},
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto &[name, content] : names) {
            QFont font;
            font.setFamilies({f.catalogue.drawnStyle(name).family});
            font.setStyleStrategy(QFont::NoFontMerging);
            if (!content.isEmpty())
                check(font, content, 24, qPrintable(name));
        }
    }
    EXPECT_LE(QFontDatabase::families().size(), listedAtFirst + qsizetype(std::size(names)));
}

// A family whose faces are in collections: one collection holding its regular and bold faces, and
// one collection per face (as CJK families come), each face at index 0.
TEST(InstalledFaces, AFamilyInCollectionsDrawsEachOfItsOwnStyles)
{
    FormFixture f;
    f.show();
    const QString installed = TestEnvironment::instance().root() + QStringLiteral("/testfonts/");
    const QByteArray regular = FontFormatBuilders::fileBytesOf(installed + QStringLiteral("DejaVuSans.ttf"));
    const QByteArray bold = FontFormatBuilders::fileBytesOf(installed + QStringLiteral("DejaVuSans-Bold.ttf"));
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.systemFontsFolder);
    const QByteArray pair = FontFormatBuilders::collection({renamedFont(regular, QStringLiteral("Glyvanta Pair"), QStringLiteral("Regular")),
                                                            renamedFont(bold, QStringLiteral("Glyvanta Pair"), QStringLiteral("Bold"))});
    const QByteArray splitRegular = FontFormatBuilders::collection({renamedFont(regular, QStringLiteral("Glyvanta Split"), QStringLiteral("Regular"))});
    const QByteArray splitBold = FontFormatBuilders::collection({renamedFont(bold, QStringLiteral("Glyvanta Split"), QStringLiteral("Bold"))});
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("pair.ttc"), pair}, {QStringLiteral("split-r.ttc"), splitRegular}, {QStringLiteral("split-b.ttc"), splitBold}};
    for (const auto &[name, bytes] : files) {
        QFile out(paths.systemFontsFolder + name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    f.catalogue.rescan(paths.systemFontsFolder);
    const struct {
        QString family;
        QByteArray regularFile;
        QByteArray boldFile;
        int boldIndex;
    } cases[] = {{QStringLiteral("Glyvanta Pair"), pair, pair, 1}, {QStringLiteral("Glyvanta Split"), splitRegular, splitBold, 0}};
    for (const auto &one : cases) {
        QFont font;
        font.setFamilies({f.catalogue.drawnStyle(one.family).family});
        font.setStyleStrategy(QFont::NoFontMerging);
        QString why;
        EXPECT_TRUE(drawsFileGlyphs(font, one.regularFile, 0, 24, &why)) << qPrintable(one.family) << ", regular: " << why.toStdString();
        font.setBold(true);
        EXPECT_TRUE(drawsFileGlyphs(font, one.boldFile, one.boldIndex, 24, &why)) << qPrintable(one.family) << ", bold: " << why.toStdString();
    }
    for (const auto &file : files)
        QFile::remove(paths.systemFontsFolder + file.first);
    f.catalogue.rescan(paths.systemFontsFolder);
}

// An install or uninstall reads the installed faces again; the faces the views show meanwhile
// stay with the toolkit until they are replaced.
TEST(InstalledFaces, AReadOfTheInstalledFacesLeavesTheShownFontsDrawn)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QByteArray tahoma = FontFormatBuilders::fileBytesOf(TestEnvironment::instance().root() + QStringLiteral("/testfonts/tahoma.ttf"));
    c.FontsList->selectRow(rowOf(c.FontsList, QStringLiteral("Tahoma")));
    QString why;
    ASSERT_TRUE(drawsFileGlyphs(c.Preview->font(), tahoma, 0, 24, &why)) << why.toStdString();
    f.catalogue.rescan(TestEnvironment::instance().paths().systemFontsFolder);
    // The Unicode map loads its face now, which gives the toolkit a font.
    f.form->UnicodeMap2Click();
    EXPECT_TRUE(drawsFileGlyphs(c.Preview->font(), tahoma, 0, 24, &why)) << why.toStdString();
    EXPECT_TRUE(drawsFileGlyphs(c.UnicodeGrid->font(), tahoma, 0, 24, &why)) << why.toStdString();
}

// A design installed in several formats (URW's OpenType beside its Type 1), and one in Type 1
// alone: the family's regular face is its regular, never the italic that a renamed Type 1 face
// would pass off under the same style name.
TEST(InstalledFaces, AFamilyInSeveralFormatsDrawsItsRegularAndItsItalic)
{
    FormFixture f;
    f.show();
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.systemFontsFolder);
    const QString type1 = QStringLiteral("/usr/share/fonts/X11/Type1/");
    const QString open = QStringLiteral("/usr/share/fonts/opentype/urw-base35/");
    const QStringList files{type1 + QStringLiteral("NimbusSans-Regular.pfb"), type1 + QStringLiteral("NimbusSans-Italic.pfb"),
                            open + QStringLiteral("NimbusSans-Regular.otf"), open + QStringLiteral("NimbusSans-Italic.otf"),
                            type1 + QStringLiteral("NimbusRoman-Regular.pfb"), type1 + QStringLiteral("NimbusRoman-Italic.pfb")};
    for (const QString &file : files)
        ASSERT_TRUE(QFile::copy(file, paths.systemFontsFolder + QFileInfo(file).fileName())) << file.toStdString();
    f.catalogue.rescan(paths.systemFontsFolder);
    for (const QString &family : {QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Roman")}) {
        const QString regular = family == QStringLiteral("Nimbus Sans") ? open + QStringLiteral("NimbusSans-Regular.otf") : type1 + QStringLiteral("NimbusRoman-Regular.pfb");
        QFont font;
        font.setFamilies({f.catalogue.drawnStyle(family).family});
        font.setStyleStrategy(QFont::NoFontMerging);
        QString why;
        EXPECT_TRUE(drawsFileGlyphs(font, FontFormatBuilders::fileBytesOf(regular), 0, 24, &why)) << family.toStdString() << ": " << why.toStdString();
        if (family == QStringLiteral("Nimbus Sans")) {
            font.setItalic(true);
            EXPECT_TRUE(drawsFileGlyphs(font, FontFormatBuilders::fileBytesOf(open + QStringLiteral("NimbusSans-Italic.otf")), 0, 24, &why))
                << "italic: " << why.toStdString();
        }
    }
    for (const QString &file : files)
        QFile::remove(paths.systemFontsFolder + QFileInfo(file).fileName());
    f.catalogue.rescan(paths.systemFontsFolder);
}
