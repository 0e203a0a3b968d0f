// SPDX-License-Identifier: MIT
// The Unicode map page, the list filter and the waterfall, as the main window wires them.
#include "Desktop.h"
#include "FormFixture.h"
#include "InstalledFonts.h"
#include "ListHelpers.h"
#include "SameGlyphs.h"
#include "Settings.h"
#include "ListView.h"
#include "TFormConfig.h"
#include "UnicodeMap.h"
#include "Waterfall.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

void press(QWidget *target, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

QKeySequence key(const char *text)
{
    return QKeySequence(QString::fromLatin1(text));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString dejaVuSans()
{
    return TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf"));
}

// The labels of the character panel, top to bottom.
QStringList details(TFormPreviewUi &c)
{
    return {c.UnicodeName->text(), c.UnicodeCode->text(), c.UnicodeUtf8->text(), c.UnicodeUtf16->text(), c.UnicodeBlock->text(),
            c.UnicodeCategory->text()};
}

std::optional<char32_t> current(TFormPreview &form)
{
    return form.unicodeMap().currentCode();
}

}

// The fourth page has its own View item, button, menu and buttons; the other pages' menus give
// their keys up on it, and it gives its own up on them.
TEST(UnicodeMap, PageHasItsOwnCommands)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    ASSERT_EQ(c.TabsPreviewModes->count(), 4);
    EXPECT_EQ(c.TabsPreviewModes->tabText(0), QStringLiteral("Text Sample"));
    EXPECT_EQ(c.TabsPreviewModes->tabText(1), QStringLiteral("Characters map"));
    EXPECT_EQ(c.TabsPreviewModes->tabText(2), QStringLiteral("Report"));
    EXPECT_EQ(c.TabsPreviewModes->tabText(3), QStringLiteral("Unicode map"));
    QAction *unicodeMenu = menuNamed(form, QStringLiteral("Unicode1"))->menuAction();
    EXPECT_EQ(unicodeMenu->text(), QStringLiteral("&Unicode"));
    EXPECT_FALSE(unicodeMenu->isEnabled());
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeCopy1"))->shortcut(), QKeySequence());
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeMap2"))->text(), QStringLiteral("&Unicode Map"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeMap2"))->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(actionNamed(form, QStringLiteral("BtnUnicodeMap"))->toolTip(), QStringLiteral("Unicode Map"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("BtnUnicodeMap"))->statusTip(), QStringLiteral("View every character of the current font"));

    actionNamed(form, QStringLiteral("UnicodeMap2"))->trigger();
    EXPECT_EQ(c.TabsPreviewModes->currentIndex(), 3);
    EXPECT_TRUE(actionNamed(form, QStringLiteral("UnicodeMap2"))->isChecked());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnUnicodeMap"))->isChecked());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnPreview"))->isChecked());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("FontPreview2"))->isChecked());
    EXPECT_TRUE(unicodeMenu->isEnabled());
    for (const char *menu : {"Preview1", "Format1", "Symbol1", "Report1"})
        EXPECT_FALSE(menuNamed(form, QString::fromLatin1(menu))->menuAction()->isEnabled()) << menu;
    // Each key belongs to one enabled item.
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeCopy1"))->shortcut(), key("Ctrl+C"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeToBuffer1"))->shortcut(), key("Ctrl+Alt+C"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeBuffToClipboard1"))->shortcut(), key("Ctrl+B"));
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeFind1"))->shortcut(), key("Ctrl+Shift+F"));
    for (const char *other : {"Copy1", "Copy2", "Bold1", "BuffToClipboard1", "CopyBuff1"})
        EXPECT_EQ(actionNamed(form, QString::fromLatin1(other))->shortcut(), QKeySequence()) << other;
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnUnicodeCopy"))->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnCopyChar"))->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnBold"))->isEnabled());
    EXPECT_FALSE(c.FontSize->isEnabled());

    form.FontPreview2Click();
    EXPECT_FALSE(unicodeMenu->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnUnicodeCopy"))->isEnabled());
    EXPECT_EQ(actionNamed(form, QStringLiteral("UnicodeCopy1"))->shortcut(), QKeySequence());
    EXPECT_EQ(actionNamed(form, QStringLiteral("Copy2"))->shortcut(), key("Ctrl+C"));
    EXPECT_FALSE(actionNamed(form, QStringLiteral("UnicodeMap2"))->isChecked());
}

// The map reads the face when its page is shown, lists every block it covers, and describes the
// selected character.
TEST(UnicodeMap, ShowsTheFaceByBlock)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    form.loadFontFromPath(dejaVuSans());
    // Not read while another page is shown.
    EXPECT_EQ(form.unicodeMap().loadedFile(), QString());
    form.UnicodeMap2Click();
    EXPECT_EQ(form.unicodeMap().loadedFile(), dejaVuSans());
    EXPECT_EQ(c.UnicodeBlocks->itemText(0), QStringLiteral("All blocks (5918)"));
    EXPECT_EQ(c.UnicodeBlocks->itemText(1), QStringLiteral("Basic Latin (95)"));
    EXPECT_EQ(c.UnicodeBlocks->itemText(2), QStringLiteral("Latin 1 Supplement (96)"));
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("5918 characters"));
    EXPECT_EQ(form.unicodeMap().model().codes().size(), 5918u);
    // The previewed file's own copy, under the family the toolkit has for it alone.
    EXPECT_EQ(c.UnicodeGrid->font().family(), f.catalogue.temporaryStyle(dejaVuSans()).family);
    ASSERT_EQ(current(form), char32_t(0x20));
    EXPECT_EQ(details(c), (QStringList{QStringLiteral("SPACE"), QStringLiteral("U+0020"), QStringLiteral("20"), QStringLiteral("0020"),
                                       QStringLiteral("Basic Latin"), QStringLiteral("Space Separator (Zs)")}));

    const int greek = c.UnicodeBlocks->findText(QStringLiteral("Greek And Coptic"), Qt::MatchStartsWith);
    ASSERT_GT(greek, 0);
    c.UnicodeBlocks->setCurrentIndex(greek);
    emit c.UnicodeBlocks->activated(greek);
    const std::vector<char32_t> &shown = form.unicodeMap().model().codes();
    ASSERT_FALSE(shown.empty());
    for (const char32_t code : shown)
        EXPECT_TRUE(code >= 0x370 && code <= 0x3FF) << unsigned(code);
    EXPECT_EQ(c.UnicodeBlocks->itemText(greek), QStringLiteral("Greek And Coptic (%1)").arg(shown.size()));
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("%1 characters").arg(shown.size()));
    EXPECT_EQ(c.UnicodeBlock->text(), QStringLiteral("Greek And Coptic"));

    // Another face is read at once while the page is shown.
    form.loadFontFromPath(TestEnvironment::wine(QStringLiteral("marlett.ttf")));
    EXPECT_EQ(c.UnicodeBlocks->itemText(0), QStringLiteral("All blocks (35)"));
    EXPECT_EQ(c.UnicodeBlocks->itemText(1), QStringLiteral("Private Use Area (35)"));
    EXPECT_EQ(c.UnicodeBlocks->count(), 2);
}

// "omega" finds Omega first; copy puts the character on the clipboard, outside the BMP too;
// Enter and double click add to the buffer, which copies as a whole.
TEST(UnicodeMap, FindsCopiesAndBuffers)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    form.loadFontFromPath(dejaVuSans());
    form.UnicodeMap2Click();
    c.CopyBuff->clear();

    c.UnicodeSearch->setText(QStringLiteral("omega"));
    const std::vector<char32_t> found = form.unicodeMap().data().searchCovered(u"omega");
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("%1 found").arg(found.size()));
    EXPECT_EQ(form.unicodeMap().model().codes(), found);
    ASSERT_EQ(current(form), char32_t(0x3A9));
    EXPECT_EQ(details(c), (QStringList{QStringLiteral("GREEK CAPITAL LETTER OMEGA"), QStringLiteral("U+03A9"), QStringLiteral("CE A9"),
                                       QStringLiteral("03A9"), QStringLiteral("Greek And Coptic"), QStringLiteral("Uppercase Letter (Lu)")}));
    EXPECT_EQ(c.UnicodeSymbol->text(), QStringLiteral("Ω"));
    actionNamed(form, QStringLiteral("UnicodeCopy1"))->trigger();
    EXPECT_EQ(Desktop::clipboardText().toUtf8(), QByteArray("\xCE\xA9"));
    press(c.UnicodeGrid, Qt::Key_Return);
    EXPECT_EQ(c.CopyBuff->text(), QStringLiteral("Ω"));

    // Outside the BMP: the character, not its surrogates one by one.
    c.UnicodeSearch->setText(QStringLiteral("U+10300"));
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("1 found"));
    ASSERT_EQ(current(form), char32_t(0x10300));
    EXPECT_EQ(details(c), (QStringList{QStringLiteral("OLD ITALIC LETTER A"), QStringLiteral("U+10300"), QStringLiteral("F0 90 8C 80"),
                                       QStringLiteral("D800 DF00"), QStringLiteral("Old Italic"), QStringLiteral("Other Letter (Lo)")}));
    actionNamed(form, QStringLiteral("BtnUnicodeCopy"))->trigger();
    EXPECT_EQ(Desktop::clipboardText().toUtf8(), QByteArray("\xF0\x90\x8C\x80"));
    emit c.UnicodeGrid->doubleClicked(c.UnicodeGrid->currentIndex());
    EXPECT_EQ(c.CopyBuff->text().toUtf8(), QByteArray("\xCE\xA9\xF0\x90\x8C\x80"));
    form.SysTimerTimer();
    QAction *copyBuffer = actionNamed(form, QStringLiteral("UnicodeBuffToClipboard1"));
    ASSERT_TRUE(copyBuffer->isEnabled());
    Desktop::setClipboardText(QString());
    copyBuffer->trigger();
    EXPECT_EQ(Desktop::clipboardText().toUtf8(), QByteArray("\xCE\xA9\xF0\x90\x8C\x80"));

    // By code without "U+", by the character itself, and a search that finds nothing.
    c.UnicodeSearch->setText(QStringLiteral("3b1"));
    EXPECT_EQ(current(form), char32_t(0x3B1));
    c.UnicodeSearch->setText(QStringLiteral("€"));
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("1 found"));
    EXPECT_EQ(current(form), char32_t(0x20AC));
    c.UnicodeSearch->setText(QStringLiteral("U+4E00"));
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("No character found"));
    EXPECT_EQ(current(form), std::nullopt);
    EXPECT_EQ(c.UnicodeName->text(), QString());

    // Esc ends the search: every character again, the last one found still selected.
    c.UnicodeSearch->setText(QStringLiteral("greek small alpha"));
    EXPECT_EQ(current(form), char32_t(0x3B1));
    press(c.UnicodeSearch, Qt::Key_Escape);
    EXPECT_EQ(c.UnicodeSearch->text(), QString());
    EXPECT_EQ(c.UnicodeCount->text(), QStringLiteral("5918 characters"));
    EXPECT_EQ(current(form), char32_t(0x3B1));
}

// Cells take the character map's cell size and font size; the columns are as many as fit.
TEST(UnicodeMap, CellsFollowTheCellOptions)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    form.loadFontFromPath(dejaVuSans());
    form.UnicodeMap2Click();
    form.FormConfig->CellWidth->setValue(31);
    form.FormConfig->CellHeight->setValue(42);
    form.FormConfig->FontSize->setValue(15);
    form.settings().ApplyOptions();
    EXPECT_EQ(c.UnicodeGrid->horizontalHeader()->defaultSectionSize(), 31);
    EXPECT_EQ(c.UnicodeGrid->verticalHeader()->defaultSectionSize(), 42);
    EXPECT_EQ(c.UnicodeGrid->font().pointSize(), 15);
    const int columns = std::max(1, c.UnicodeGrid->viewport()->width() / 31);
    EXPECT_EQ(form.unicodeMap().model().columns(), columns);
    EXPECT_EQ(form.unicodeMap().model().rowCount(), (5918 + columns - 1) / columns);
    // A narrower window keeps the character selected.
    c.UnicodeSearch->setText(QStringLiteral("U+0416"));
    press(c.UnicodeSearch, Qt::Key_Escape);
    form.resize(form.width() - 150, form.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(form.unicodeMap().model().columns(), std::max(1, c.UnicodeGrid->viewport()->width() / 31));
    EXPECT_NE(form.unicodeMap().model().columns(), columns);
    EXPECT_EQ(current(form), char32_t(0x416));
}

// The filter shows the rows that hold its text, by family, style or file name, whatever the case;
// the rows keep their numbers; Esc clears it.
TEST(ListFilter, FiltersTheInstalledFontsByFamilyStyleAndFile)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    ListView *fonts = c.FontsList;
    ASSERT_FALSE(fonts->collapsed());
    ASSERT_GT(fonts->count(), 4);
    auto holds = [&](int row, const QString &text) {
        const ListView::Item &item = fonts->item(row);
        using namespace FontsListColumn;
        // The file by its name, not by its folder.
        for (const QString &cell : {item.caption, item.subItems.value(Style), item.subItems.value(FileName).section(QLatin1Char('/'), -1)})
            if (cell.contains(text, Qt::CaseInsensitive))
                return true;
        return false;
    };
    auto expectedRows = [&](const QString &text) {
        std::vector<int> rows;
        for (int row = 0; row < fonts->count(); ++row)
            if (holds(row, text))
                rows.push_back(row);
        return rows;
    };

    actionNamed(form, QStringLiteral("FilterList1"))->trigger();
    EXPECT_EQ(actionNamed(form, QStringLiteral("FilterList1"))->shortcut(), key("Ctrl+F"));
    c.FilterList->setText(QStringLiteral("MONO"));
    const std::vector<int> mono = expectedRows(QStringLiteral("mono"));
    ASSERT_FALSE(mono.empty());
    ASSERT_LT(mono.size(), static_cast<size_t>(fonts->count()));
    EXPECT_EQ(fonts->shownCount(), static_cast<int>(mono.size()));
    const int all = fonts->count();

    // The row selected through the filtered list is the list's own row, everywhere.
    const int row = mono.back();
    fonts->selectRow(row);
    EXPECT_EQ(fonts->selectedRow(), row);
    EXPECT_EQ(c.StatusPanels[3]->text(), fonts->item(row).caption);
    auto *view = static_cast<QAbstractItemView *>(fonts->activeView());
    EXPECT_EQ(view->model()->data(view->currentIndex()).toString(), fonts->item(row).caption);
    // By file name: ".fon" is in no family's name.
    c.FilterList->setText(QStringLiteral(".fon"));
    EXPECT_EQ(fonts->shownCount(), static_cast<int>(expectedRows(QStringLiteral(".fon")).size()));
    EXPECT_GT(fonts->shownCount(), 0);
    EXPECT_EQ(fonts->selectedRow(), -1);
    // By style.
    c.FilterList->setText(QStringLiteral("book"));
    EXPECT_EQ(fonts->shownCount(), static_cast<int>(expectedRows(QStringLiteral("book")).size()));
    EXPECT_GE(fonts->shownCount(), 3);
    // Not by the folder the file lies in, nor by the other columns.
    c.FilterList->setText(QStringLiteral("testfonts"));
    EXPECT_EQ(fonts->shownCount(), 0);
    c.FilterList->setText(QStringLiteral("Swiss"));
    EXPECT_EQ(fonts->shownCount(), 0);
    c.FilterList->setText(QStringLiteral("no font has this"));
    EXPECT_EQ(fonts->shownCount(), 0);

    press(c.FilterList, Qt::Key_Escape);
    EXPECT_EQ(c.FilterList->text(), QString());
    EXPECT_EQ(fonts->shownCount(), all);
    EXPECT_EQ(fonts->filter(), QString());
}

// The folder list is filtered by file name, and what the filter keeps still opens by its row.
TEST(ListFilter, FiltersTheFolderList)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    form.folderBrowser().ListFolder(QStringLiteral("/usr/share/fonts/truetype/dejavu/"));
    form.folderBrowser().showFolderView();
    ListView *files = c.FilesBrowse;
    c.FilterList->setText(QStringLiteral("sansmono-bold"));
    ASSERT_EQ(files->shownCount(), 2);   // DejaVuSansMono-Bold and -BoldOblique
    int shownRow = -1;
    for (int row = 0; row < files->count(); ++row)
        if (files->item(row).caption.contains(QStringLiteral("SansMono-BoldOblique"), Qt::CaseInsensitive))
            shownRow = row;
    ASSERT_GE(shownRow, 0);
    files->selectRow(shownRow);
    EXPECT_EQ(files->selectedRow(), shownRow);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("DejaVuSansMono-BoldOblique.ttf"));
    form.SysTimerTimer();
    EXPECT_TRUE(actionNamed(form, QStringLiteral("Install1"))->isEnabled());
}

// The waterfall shows the sample's first line at each size, labelled, in the sample's face and
// styles, beside the sample; it is a command of the text sample alone.
TEST(Waterfall, ShowsTheSampleLineAtEachSize)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    QAction *waterfall = actionNamed(form, QStringLiteral("Waterfall1"));
    EXPECT_EQ(waterfall->text(), QStringLiteral("&Waterfall"));
    EXPECT_FALSE(c.WaterfallBox->isVisible());
    EXPECT_TRUE(c.Preview->isVisible());
    waterfall->trigger();
    EXPECT_TRUE(waterfall->isChecked());
    EXPECT_TRUE(actionNamed(form, QStringLiteral("BtnWaterfall"))->isChecked());
    EXPECT_TRUE(c.WaterfallBox->isVisible());
    EXPECT_TRUE(c.Preview->isVisible());

    c.Preview->setPlainText(QStringLiteral("\n  The quick brown fox  \nsecond line"));
    form.loadFontFromPath(dejaVuSans());
    actionNamed(form, QStringLiteral("Bold1"))->trigger();
    const std::vector<Waterfall::Line> lines = c.PreviewWaterfall->lines();
    const int sizes[] = {8, 10, 12, 14, 18, 24, 36, 48, 72};
    ASSERT_EQ(lines.size(), std::size(sizes));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(lines[i].label, QStringLiteral("%1 pt").arg(sizes[i]));
        EXPECT_EQ(lines[i].font.pointSize(), sizes[i]);
        EXPECT_EQ(lines[i].font.family(), f.catalogue.temporaryStyle(dejaVuSans()).family);
        EXPECT_TRUE(lines[i].font.bold());
        EXPECT_EQ(lines[i].text, QStringLiteral("The quick brown fox"));
        if (i > 0) {
            EXPECT_GT(lines[i].height, lines[i - 1].height);
            EXPECT_GE(lines[i].top, lines[i - 1].top + lines[i - 1].height);
        }
    }
    EXPECT_GE(c.PreviewWaterfall->sizeHint().height(), lines.back().top + lines.back().height);

    form.CharMap2Click();
    EXPECT_FALSE(waterfall->isEnabled());
    EXPECT_FALSE(actionNamed(form, QStringLiteral("BtnWaterfall"))->isEnabled());
    form.FontPreview2Click();
    actionNamed(form, QStringLiteral("BtnWaterfall"))->trigger();
    EXPECT_FALSE(waterfall->isChecked());
    EXPECT_FALSE(c.WaterfallBox->isVisible());
}

// The style box lists the faces of the shown installed family; the views follow the chosen one.
TEST(FamilyStyles, ViewsFollowTheChosenFace)
{
    FormFixture f;
    f.show();
    TFormPreview &form = *f.form;
    TFormPreviewUi &c = form.ui();
    const int row = rowOf(c.FontsList, QStringLiteral("DejaVu Sans"));
    ASSERT_GE(row, 0);
    c.FontsList->selectRow(row);
    ASSERT_EQ(c.SelectStyle->count(), 2);
    EXPECT_EQ(c.SelectStyle->itemText(0), QStringLiteral("Book"));
    EXPECT_EQ(c.SelectStyle->itemText(1), QStringLiteral("Bold"));
    EXPECT_EQ(c.SelectStyle->currentIndex(), 0);
    EXPECT_EQ(c.SelectStyle->toolTip(), QStringLiteral("Style"));

    form.Report2Click();
    c.SelectStyle->setCurrentIndex(1);
    emit c.SelectStyle->activated(1);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("DejaVuSans-Bold.ttf"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans Bold"));
    // Drawn with the bold face's own glyphs: neither the family's book face nor a thickened one.
    const QByteArray bold = readFile(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-Bold.ttf")));
    const QByteArray book = readFile(dejaVuSans());
    for (QWidget *w : {static_cast<QWidget *>(c.Preview), static_cast<QWidget *>(c.CharactersPreview), static_cast<QWidget *>(c.SymbolPreview)}) {
        QString why;
        EXPECT_TRUE(drawsFileGlyphs(w->font(), bold, 0, 24, &why)) << w->objectName().toStdString() << ": " << why.toStdString();
        EXPECT_FALSE(drawsFileGlyphs(w->font(), book, 0, 24)) << w->objectName().toStdString();
    }
    EXPECT_TRUE(c.ReportEdit->toPlainText().contains(QStringLiteral("DejaVu Sans Bold"))) << c.ReportEdit->toPlainText().toStdString();
    EXPECT_TRUE(c.ReportEdit->toPlainText().contains(QStringLiteral("DejaVuSans-Bold.ttf")));
    // Switching pages selects the row again; the chosen face stays.
    form.FontPreview2Click();
    form.Report2Click();
    EXPECT_EQ(c.SelectStyle->currentIndex(), 1);
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_TRUE(c.ReportEdit->toPlainText().contains(QStringLiteral("DejaVuSans-Bold.ttf")));
    form.UnicodeMap2Click();
    EXPECT_TRUE(form.unicodeMap().loadedFile().endsWith(QStringLiteral("/DejaVuSans-Bold.ttf"))) << form.unicodeMap().loadedFile().toStdString();
    EXPECT_TRUE(drawsFileGlyphs(c.UnicodeGrid->font(), bold, 0, 24));
    EXPECT_FALSE(drawsFileGlyphs(c.UnicodeGrid->font(), book, 0, 24));

    // Choosing the family's first face again is remembered too.
    c.SelectStyle->setCurrentIndex(0);
    emit c.SelectStyle->activated(0);
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Sans"));   // its full name
    EXPECT_TRUE(form.unicodeMap().loadedFile().endsWith(QStringLiteral("/DejaVuSans.ttf")));
    // A family of one face lists it alone; a font file lists none.
    c.FontsList->selectRow(rowOf(c.FontsList, QStringLiteral("Tahoma")));
    EXPECT_EQ(c.SelectStyle->count(), 1);
    form.loadFontFromPath(dejaVuSans());
    EXPECT_EQ(c.SelectStyle->count(), 0);
}
