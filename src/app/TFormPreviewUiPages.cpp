// SPDX-License-Identifier: MIT
// The main window's navigation box and its three pages.
#include "TFormPreviewUi.h"

#include "FontFileTypes.h"
#include "Icons.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "Waterfall.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QFormLayout>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template<typename T>
T *named(T *object, const QString &name)
{
    object->setObjectName(name);
    return object;
}

// A hint of the form "short|long": the short part as tooltip, the long part for the status bar.
void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    widget->setStatusTip(hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint);
}

}

void TFormPreviewUi::buildCentral()
{
    auto *central = new QWidget(m_window);
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(2, 2, 2, 2);
    MainSplitter = named(new QSplitter(Qt::Horizontal, central), QStringLiteral("MainSplitter"));
    MainSplitter->setChildrenCollapsible(false);
    centralLayout->addWidget(MainSplitter);
    m_window->setCentralWidget(central);
    BoxFilesBrowse = named(new QGroupBox(QStringLiteral("Navigation"), MainSplitter), QStringLiteral("BoxFilesBrowse"));
    buildNavigation(BoxFilesBrowse);
    TabsPreviewModes = named(new QTabWidget(MainSplitter), QStringLiteral("TabsPreviewModes"));
    TabsPreviewModes->setDocumentMode(true);
    TabsPreviewModes->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid palette(mid); border-radius: 3px; padding: 3px 10px; margin: 2px 2px 4px 0; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(midlight); border-color: palette(dark); }"));
    buildTextPage();
    buildCharacterMapPage();
    buildReportPage();
    buildUnicodePage();
    MainSplitter->addWidget(BoxFilesBrowse);
    MainSplitter->addWidget(TabsPreviewModes);
    BoxFilesBrowse->setMinimumWidth(50);
    TabsPreviewModes->setMinimumWidth(50);
    MainSplitter->setStretchFactor(0, 0);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->setSizes({277, 709 - 277});
}

void TFormPreviewUi::buildNavigation(QWidget *box)
{
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    buildDriveBox(box);
    layout->addWidget(PanelDriveBrowse);

    auto *panelFilePath = named(new QWidget(box), QStringLiteral("PanelFilePath"));
    auto *pathLayout = new QHBoxLayout(panelFilePath);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    EditFileName = named(new QLineEdit(panelFilePath), QStringLiteral("EditFileName"));
    EditFileName->setFrame(false);
    QFont bold = EditFileName->font();
    bold.setBold(true);
    EditFileName->setFont(bold);
    EditFileName->setFocusPolicy(Qt::ClickFocus);
    QPalette pathPalette = EditFileName->palette();
    pathPalette.setColor(QPalette::Base, pathPalette.color(QPalette::Highlight));
    pathPalette.setColor(QPalette::Text, Qt::black);
    EditFileName->setPalette(pathPalette);
    pathLayout->addWidget(EditFileName);
    layout->addWidget(panelFilePath);
    FilterList = named(new QLineEdit(box), QStringLiteral("FilterList"));
    FilterList->setPlaceholderText(QStringLiteral("Filter by family, style or file name"));
    FilterList->setClearButtonEnabled(true);
    setHint(FilterList, QStringLiteral("Filter|Show only the fonts whose family, style or file name hold this text (Ctrl+F, Esc clears)"));
    layout->addWidget(FilterList);
    buildNavigationLists(box);
}

void TFormPreviewUi::buildDriveBox(QWidget *box)
{
    PanelDriveBrowse = named(new QWidget(box), QStringLiteral("PanelDriveBrowse"));
    auto *driveLayout = new QHBoxLayout(PanelDriveBrowse);
    driveLayout->setContentsMargins(0, 0, 0, 0);
    driveLayout->setSpacing(2);
    DisksBrowse = named(new QComboBox(PanelDriveBrowse), QStringLiteral("DisksBrowse"));
    DisksBrowse->setStatusTip(QStringLiteral("Current drive selection"));
    DisksBrowse->addItem(QStringLiteral("Fonts"));
    driveLayout->addWidget(DisksBrowse, 1);
    PanelViewStyleButtonsPanel = named(new QWidget(PanelDriveBrowse), QStringLiteral("PanelViewStyleButtonsPanel"));
    auto *styleLayout = new QHBoxLayout(PanelViewStyleButtonsPanel);
    styleLayout->setContentsMargins(0, 0, 0, 0);
    styleLayout->setSpacing(0);
    const std::tuple<const char *, const char *, const char *> styles[] = {
        {"ButtonvsIcons", "viewicons", "Large icons view"},
        {"ButtonvsSmallIcon", "viewsmall", "Small icons view"},
        {"ButtonvsList", "viewlist", "List view"},
        {"ButtonvsReport", "viewreport", "Report view"}};
    for (int i = 0; i < 4; ++i) {
        const auto &[name, icon, hint] = styles[i];
        auto *button = named(new QToolButton(PanelViewStyleButtonsPanel), QString::fromLatin1(name));
        button->setIcon(Icons::get(QString::fromLatin1(icon)));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setAutoRaise(true);
        button->setStatusTip(QString::fromLatin1(hint));
        button->setToolTip(QString::fromLatin1(hint));
        button->setChecked(i == 0);
        ViewStyleButtons[static_cast<size_t>(i)] = button;
        styleLayout->addWidget(button);
    }
    driveLayout->addWidget(PanelViewStyleButtonsPanel);
}

void TFormPreviewUi::buildNavigationLists(QWidget *box)
{
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    const std::vector<QIcon> images = Icons::fileImages();
    auto makeList = [&](const QString &name, const QString &statusHint) {
        auto *list = named(new ListView(box), name);
        list->setImages(images);
        list->setStatusTip(statusHint);
        layout->addWidget(list, 1);
        return list;
    };
    FilesBrowse = makeList(QStringLiteral("FilesBrowse"), QStringLiteral("Files navigation"));
    FilesBrowse->setColumns({{QStringLiteral("Name"), 215, 300}, {QStringLiteral("Extention"), 37, 50}});
    FontsList = makeList(QStringLiteral("FontsList"), QStringLiteral("Fonts"));
    std::vector<ListView::Column> fontColumns;
    for (const InstalledFontColumn &c : kInstalledFontColumns)
        fontColumns.push_back({QString::fromLatin1(c.header), c.width, c.maxWidth});
    FontsList->setColumns(fontColumns);
    ZipBrowse = makeList(QStringLiteral("ZipBrowse"), QString());
    ZipBrowse->setColumns({{QStringLiteral("Name"), 215, 300}, {QStringLiteral("Extention"), 37, 50}});
    PanelSelectExt = named(new QWidget(box), QStringLiteral("PanelSelectExt"));
    auto *extLayout = new QHBoxLayout(PanelSelectExt);
    extLayout->setContentsMargins(0, 0, 0, 0);
    SelectExt = named(new QComboBox(PanelSelectExt), QStringLiteral("SelectExt"));
    SelectExt->addItems(extensionFilterItems());
    SelectExt->setStatusTip(QStringLiteral("Extentions filter"));
    extLayout->addWidget(SelectExt);
    layout->addWidget(PanelSelectExt);
}

void TFormPreviewUi::buildTextPage()
{
    auto *sheetFontPreview = named(new QWidget(TabsPreviewModes), QStringLiteral("SheetFontPreview"));
    auto *previewLayout = new QVBoxLayout(sheetFontPreview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    auto *panes = named(new QSplitter(Qt::Vertical, sheetFontPreview), QStringLiteral("SamplePanes"));
    panes->setChildrenCollapsible(false);
    Preview = named(new QPlainTextEdit(panes), QStringLiteral("Preview"));
    setHint(Preview, QStringLiteral("|Preview text by the current font"));
    panes->addWidget(Preview);
    // The waterfall sits under the sample, hidden until asked for.
    auto *scroll = named(new QScrollArea(panes), QStringLiteral("WaterfallBox"));
    PreviewWaterfall = new Waterfall(*Preview, scroll);
    setHint(PreviewWaterfall, QStringLiteral("|The first line of the sample at several sizes"));
    scroll->setWidget(PreviewWaterfall);
    scroll->setWidgetResizable(true);
    WaterfallBox = scroll;
    panes->addWidget(scroll);
    scroll->hide();
    previewLayout->addWidget(panes);
    TabsPreviewModes->addTab(sheetFontPreview, Icons::get(QStringLiteral("textsample")), QStringLiteral("Text Sample"));
}

void TFormPreviewUi::buildCharacterMapPage()
{
    auto *sheetCharMap = named(new QWidget(TabsPreviewModes), QStringLiteral("SheetCharMap"));
    auto *mapLayout = new QHBoxLayout(sheetCharMap);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    CharactersPreview = named(new QTableWidget(1, 1, sheetCharMap), QStringLiteral("CharactersPreview"));
    CharactersPreview->horizontalHeader()->hide();
    CharactersPreview->verticalHeader()->hide();
    CharactersPreview->horizontalHeader()->setMinimumSectionSize(1);
    CharactersPreview->verticalHeader()->setMinimumSectionSize(1);
    CharactersPreview->horizontalHeader()->setDefaultSectionSize(20);
    CharactersPreview->verticalHeader()->setDefaultSectionSize(30);
    CharactersPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CharactersPreview->setSelectionMode(QAbstractItemView::SingleSelection);
    setHint(CharactersPreview, QStringLiteral("|Preview characters map for the current font"));
    mapLayout->addWidget(CharactersPreview, 1);
    buildSymbolPanel(sheetCharMap);
    mapLayout->addWidget(SymbolGroup);
    TabsPreviewModes->addTab(sheetCharMap, Icons::get(QStringLiteral("charmap")), QStringLiteral("Characters map"));
}

void TFormPreviewUi::buildSymbolPanel(QWidget *sheet)
{
    SymbolGroup = named(new QGroupBox(QStringLiteral("Symbol"), sheet), QStringLiteral("SymbolGroup"));
    SymbolGroup->setFixedWidth(160);
    auto *symbolLayout = new QVBoxLayout(SymbolGroup);
    symbolLayout->setContentsMargins(6, 6, 6, 6);
    PanelSymbol = named(new QWidget(SymbolGroup), QStringLiteral("PanelSymbol"));
    auto *panelSymbolLayout = new QVBoxLayout(PanelSymbol);
    panelSymbolLayout->setContentsMargins(0, 0, 0, 0);
    SymbolPreview = named(new QLabel(PanelSymbol), QStringLiteral("SymbolPreview"));
    SymbolPreview->setMinimumWidth(40);
    SymbolPreview->setAlignment(Qt::AlignCenter);
    SymbolPreview->setAutoFillBackground(true);
    SymbolPreview->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; border: 1px solid gray; }"));
    SymbolPreview->setFixedHeight(120);
    SymbolPreview->setTextFormat(Qt::PlainText);
    QFont symbolFont = SymbolPreview->font();
    symbolFont.setPixelSize(90);
    SymbolPreview->setFont(symbolFont);
    setHint(SymbolPreview, QStringLiteral("|Large preview for the current symbol"));
    panelSymbolLayout->addWidget(SymbolPreview);
    symbolLayout->addWidget(PanelSymbol);

    PanelANSICode = named(new QWidget(SymbolGroup), QStringLiteral("PanelANSICode"));
    auto *codeLayout = new QGridLayout(PanelANSICode);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->addWidget(new QLabel(QStringLiteral("ANSI code:"), PanelANSICode), 0, 0, 1, 2);
    AsciiDec = named(new QRadioButton(QStringLiteral("Dec"), PanelANSICode), QStringLiteral("AsciiDec"));
    AcsiiHex = named(new QRadioButton(QStringLiteral("Hex"), PanelANSICode), QStringLiteral("AcsiiHex"));
    AsciiDec->setChecked(true);
    setHint(AsciiDec, QStringLiteral("|Decimial format"));
    setHint(AcsiiHex, QStringLiteral("|Hex format (for advenced users)"));
    codeLayout->addWidget(AsciiDec, 1, 0);
    codeLayout->addWidget(AcsiiHex, 1, 1);
    AsciiCode = named(new QLineEdit(PanelANSICode), QStringLiteral("AsciiCode"));
    AsciiCode->setReadOnly(true);
    setHint(AsciiCode, QStringLiteral("|ANSI code for current symbol"));
    codeLayout->addWidget(AsciiCode, 2, 0, 1, 2);
    symbolLayout->addWidget(PanelANSICode);

    PanelSymbolSearch = named(new QWidget(SymbolGroup), QStringLiteral("PanelSymbolSearch"));
    auto *searchLayout = new QHBoxLayout(PanelSymbolSearch);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(new QLabel(QStringLiteral("Symbol:"), PanelSymbolSearch));
    OriginalLetter = named(new QLineEdit(PanelSymbolSearch), QStringLiteral("OriginalLetter"));
    OriginalLetter->setReadOnly(true);
    setHint(OriginalLetter, QStringLiteral("|Current symbol"));
    searchLayout->addWidget(OriginalLetter);
    symbolLayout->addWidget(PanelSymbolSearch);
    buildGoToPanel(SymbolGroup);
    symbolLayout->addWidget(GroupBoxGoTo);
    symbolLayout->addStretch();
}

void TFormPreviewUi::buildGoToPanel(QWidget *symbolGroup)
{
    GroupBoxGoTo = named(new QGroupBox(QStringLiteral("Go to"), symbolGroup), QStringLiteral("GroupBoxGoTo"));
    auto *goLayout = new QGridLayout(GroupBoxGoTo);
    // Narrow margins, so that both radio captions fit the fixed-width panel.
    goLayout->setContentsMargins(4, 4, 4, 4);
    goLayout->setHorizontalSpacing(2);
    goLayout->addWidget(new QLabel(QStringLiteral("Go to:"), GroupBoxGoTo), 0, 0);
    GoTo = named(new QLineEdit(GroupBoxGoTo), QStringLiteral("GoTo"));
    setHint(GoTo, QStringLiteral("|Object to go"));
    goLayout->addWidget(GoTo, 0, 1);
    GoToCode = named(new QRadioButton(QStringLiteral("Code"), GroupBoxGoTo), QStringLiteral("GoToCode"));
    GoToSymbol = named(new QRadioButton(QStringLiteral("Symbol"), GroupBoxGoTo), QStringLiteral("GoToSymbol"));
    GoToCode->setChecked(true);
    setHint(GoToCode, QStringLiteral("|Go to symbol with this ANSI code"));
    setHint(GoToSymbol, QStringLiteral("|Go to this symbol"));
    goLayout->addWidget(GoToCode, 1, 0);
    goLayout->addWidget(GoToSymbol, 1, 1);
    GoStart = named(new QPushButton(QStringLiteral("Go"), GroupBoxGoTo), QStringLiteral("GoStart"));
    setHint(GoStart, QStringLiteral("|Go to this object"));
    goLayout->addWidget(GoStart, 2, 0, 1, 2);
}

void TFormPreviewUi::buildReportPage()
{
    auto *sheetReport = named(new QWidget(TabsPreviewModes), QStringLiteral("SheetReport"));
    auto *reportLayout = new QVBoxLayout(sheetReport);
    reportLayout->setContentsMargins(0, 0, 0, 0);
    ReportEdit = named(new QTextEdit(sheetReport), QStringLiteral("ReportEdit"));
    ReportEdit->setReadOnly(true);
    setHint(ReportEdit, QStringLiteral("|Information about the current font"));
    reportLayout->addWidget(ReportEdit);
    TabsPreviewModes->addTab(sheetReport, Icons::get(QStringLiteral("report")), QStringLiteral("Report"));
}

void TFormPreviewUi::buildUnicodePage()
{
    auto *sheet = named(new QWidget(TabsPreviewModes), QStringLiteral("SheetUnicodeMap"));
    auto *layout = new QGridLayout(sheet);
    layout->setContentsMargins(0, 2, 0, 0);
    auto *findBar = new QHBoxLayout;
    UnicodeBlocks = named(new QComboBox(sheet), QStringLiteral("UnicodeBlocks"));
    UnicodeBlocks->setMinimumContentsLength(16);
    UnicodeBlocks->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setHint(UnicodeBlocks, QStringLiteral("Block|Show the characters of one Unicode block"));
    findBar->addWidget(UnicodeBlocks);
    UnicodeSearch = named(new QLineEdit(sheet), QStringLiteral("UnicodeSearch"));
    UnicodeSearch->setPlaceholderText(QStringLiteral("Find: name, U+code or character"));
    UnicodeSearch->setClearButtonEnabled(true);
    setHint(UnicodeSearch, QStringLiteral("Find|Find characters by name (greek small alpha), code (U+03B1) or the character itself"));
    findBar->addWidget(UnicodeSearch, 1);
    UnicodeCount = named(new QLabel(sheet), QStringLiteral("UnicodeCount"));
    findBar->addWidget(UnicodeCount);
    layout->addLayout(findBar, 0, 0, 1, 2);
    UnicodeGrid = named(new QTableView(sheet), QStringLiteral("UnicodeGrid"));
    UnicodeGrid->horizontalHeader()->hide();
    UnicodeGrid->verticalHeader()->hide();
    UnicodeGrid->horizontalHeader()->setMinimumSectionSize(1);
    UnicodeGrid->verticalHeader()->setMinimumSectionSize(1);
    UnicodeGrid->horizontalHeader()->setDefaultSectionSize(20);
    UnicodeGrid->verticalHeader()->setDefaultSectionSize(30);
    UnicodeGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    UnicodeGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    UnicodeGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    UnicodeGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHint(UnicodeGrid, QStringLiteral("|Every character of the current font; double click or Enter adds one to the buffer"));
    layout->addWidget(UnicodeGrid, 1, 0);
    buildUnicodeDetails(sheet);
    layout->addWidget(UnicodeGroup, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);
    TabsPreviewModes->addTab(sheet, Icons::get(QStringLiteral("unicodemap")), QStringLiteral("Unicode map"));
}

void TFormPreviewUi::buildUnicodeDetails(QWidget *sheet)
{
    UnicodeGroup = named(new QGroupBox(QStringLiteral("Character"), sheet), QStringLiteral("UnicodeGroup"));
    UnicodeGroup->setFixedWidth(200);
    auto *layout = new QVBoxLayout(UnicodeGroup);
    layout->setContentsMargins(6, 6, 6, 6);
    UnicodeSymbol = named(new QLabel(UnicodeGroup), QStringLiteral("UnicodeSymbol"));
    UnicodeSymbol->setAlignment(Qt::AlignCenter);
    UnicodeSymbol->setTextFormat(Qt::PlainText);
    UnicodeSymbol->setFixedHeight(120);
    UnicodeSymbol->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; border: 1px solid gray; }"));
    QFont symbolFont = UnicodeSymbol->font();
    symbolFont.setPixelSize(80);
    UnicodeSymbol->setFont(symbolFont);
    setHint(UnicodeSymbol, QStringLiteral("|Large preview for the current character"));
    layout->addWidget(UnicodeSymbol);
    auto *form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    const std::pair<QLabel **, const char *> rows[] = {{&UnicodeName, "Name:"},   {&UnicodeCode, "Code:"},   {&UnicodeUtf8, "UTF-8:"},
                                                       {&UnicodeUtf16, "UTF-16:"}, {&UnicodeBlock, "Block:"}, {&UnicodeCategory, "Category:"}};
    const char *names[] = {"UnicodeName", "UnicodeCode", "UnicodeUtf8", "UnicodeUtf16", "UnicodeBlock", "UnicodeCategory"};
    int i = 0;
    for (const auto &[label, caption] : rows) {
        *label = named(new QLabel(UnicodeGroup), QString::fromLatin1(names[i++]));
        (*label)->setWordWrap(true);
        (*label)->setTextFormat(Qt::PlainText);
        (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromLatin1(caption), *label);
    }
    layout->addLayout(form);
    layout->addStretch();
}
