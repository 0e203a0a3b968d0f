// SPDX-License-Identifier: MIT
// The main window's menus, popups, toolbars and status bar.
#include "TFormPreviewUi.h"

#include "ElidedLabel.h"
#include "Icons.h"
#include "ListView.h"

#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QString shortHint(const QString &hint)
{
    return hint.section(QLatin1Char('|'), 0, 0);
}

QString longHint(const QString &hint)
{
    return hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
}

// A toolbar button does what its menu item does, while the item is enabled.
void standFor(QAction *button, QAction *item)
{
    QObject::connect(button, &QAction::triggered, item, [item] {
        if (item->isEnabled())
            item->trigger();
    });
}

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

}

QAction *TFormPreviewUi::addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut,
                                 const QString &hint)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The tag starts as the item's own shortcut, so an item that was disabled on its own gets it
    // back when its menu is enabled again.
    action->setProperty("tag", QVariant::fromValue(shortcut));
    action->setStatusTip(hint);
    action->installEventFilter(m_shortcutFilter);
    return action;
}

QAction *TFormPreviewUi::addButton(QToolBar *bar, const QString &name, const QString &icon, const QString &hint, bool checkable)
{
    QAction *action = bar->addAction(Icons::get(icon), shortHint(hint));
    action->setObjectName(name);
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
    action->setCheckable(checkable);
    if (QWidget *button = bar->widgetForAction(action))
        button->setObjectName(name);
    return action;
}

QMenu *TFormPreviewUi::addMenu(const QString &name, const QString &caption)
{
    QMenu *menu = m_window->menuBar()->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setProperty("tag", QVariant::fromValue(QKeySequence()));
    menu->setToolTipsVisible(false);
    return menu;
}

QToolBar *TFormPreviewUi::addToolBar(const QString &name, const QString &title)
{
    QToolBar *bar = m_window->addToolBar(title);
    bar->setObjectName(name);
    bar->setMovable(true);
    bar->setIconSize(QSize(16, 16));
    return bar;
}

void TFormPreviewUi::setupUi(QMainWindow *window, QObject *shortcutFilter)
{
    m_window = window;
    m_shortcutFilter = shortcutFilter;
    buildFileAndViewMenus();
    buildTextMenus();
    buildHelpMenus();
    buildGeneralToolBar();
    buildPreviewToolBars();
    buildCharacterToolBar();
    buildCentral();
    buildStatusBar();
    buildPopups();
}

void TFormPreviewUi::buildFileAndViewMenus()
{
    auto separator = [](QMenu *m, const QString &name) { m->addSeparator()->setObjectName(name); };
    File1 = addMenu(QStringLiteral("File1"), QStringLiteral("&File"));
    Open1 = addItem(File1, QStringLiteral("Open1"), QStringLiteral("&Load..."), QKeySequence(QStringLiteral("Ctrl+O")), QStringLiteral("Load a file"));
    Refresh1 = addItem(File1, QStringLiteral("Refresh1"), QStringLiteral("&Refresh"), QKeySequence(QStringLiteral("Ctrl+Alt+O")),
                       QStringLiteral("Refresh current directory"));
    separator(File1, QStringLiteral("N5"));
    Install1 = addItem(File1, QStringLiteral("Install1"), QStringLiteral("&Install"), QKeySequence(Qt::Key_Insert), QStringLiteral("Install current font"));
    Install1->setEnabled(false);
    Uninstall1 = addItem(File1, QStringLiteral("Uninstall1"), QStringLiteral("&Uninstall"), QKeySequence(Qt::Key_Delete),
                         QStringLiteral("Uninstall the font"));
    separator(File1, QStringLiteral("N13"));
    Unpack = addItem(File1, QStringLiteral("Unpack"), QStringLiteral("Unpack..."), {}, QStringLiteral("Unpack current file to a folder"));
    UnpackHere = addItem(File1, QStringLiteral("UnpackHere"), QStringLiteral("Unpack to here"), {}, QStringLiteral("Unpack current file to this folder"));
    N17 = File1->addSeparator();
    N17->setObjectName(QStringLiteral("N17"));
    CopyTo = addItem(File1, QStringLiteral("CopyTo"), QStringLiteral("Copy to..."), {}, QStringLiteral("Copy current file to a folder"));
    MoveTo = addItem(File1, QStringLiteral("MoveTo"), QStringLiteral("Move to..."), {}, QStringLiteral("Move current file to a folder"));
    Delete = addItem(File1, QStringLiteral("Delete"), QStringLiteral("Delete"), {}, QStringLiteral("Delete current file"));
    N15 = File1->addSeparator();
    N15->setObjectName(QStringLiteral("N15"));
    FileProperties = addItem(File1, QStringLiteral("FileProperties"), QStringLiteral("Properties"), {}, QStringLiteral("View the current file properties"));
    N1 = File1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Exit1 = addItem(File1, QStringLiteral("Exit1"), QStringLiteral("E&xit"), QKeySequence(Qt::Key_F10), QStringLiteral("Exit Glyvanta"));

    View1 = addMenu(QStringLiteral("View1"), QStringLiteral("&View"));
    ViewModes = new QActionGroup(m_window);
    FontPreview2 = addItem(View1, QStringLiteral("FontPreview2"), QStringLiteral("&Text Sample"), QKeySequence(Qt::Key_F5),
                           QStringLiteral("Preview sample text in selected font"));
    CharMap2 = addItem(View1, QStringLiteral("CharMap2"), QStringLiteral("Characters &Map"), QKeySequence(Qt::Key_F6),
                       QStringLiteral("View characters map for current font"));
    Report2 = addItem(View1, QStringLiteral("Report2"), QStringLiteral("&Report"), QKeySequence(Qt::Key_F7), QStringLiteral("View report for this font"));
    UnicodeMap2 = addItem(View1, QStringLiteral("UnicodeMap2"), QStringLiteral("&Unicode Map"), QKeySequence(Qt::Key_F9),
                          QStringLiteral("View every character of the current font"));
    for (QAction *a : {FontPreview2, CharMap2, Report2, UnicodeMap2}) {
        a->setCheckable(true);
        ViewModes->addAction(a);
    }
    FontPreview2->setChecked(true);
    separator(View1, QStringLiteral("N2"));
    Config1 = addItem(View1, QStringLiteral("Config1"), QStringLiteral("Op&tions"), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Glyvanta options"));
    separator(View1, QStringLiteral("N21"));
    FilterList1 = addItem(View1, QStringLiteral("FilterList1"), QStringLiteral("&Filter List"), QKeySequence(QStringLiteral("Ctrl+F")),
                          QStringLiteral("Filter the list by family, style or file name"));
}

void TFormPreviewUi::buildTextMenus()
{
    Format1 = addMenu(QStringLiteral("Format1"), QStringLiteral("Fo&rmat"));
    QAction **styles[] = {&Bold1, &Italic1, &Underline1, &StrikeOut1};
    int i = 0;
    for (const auto &[name, caption, key, hint] : {
             std::tuple{"Bold1", "&Bold", "Ctrl+B", "Bolder text"},
             std::tuple{"Italic1", "&Italic", "Ctrl+I", "Italic text"},
             std::tuple{"Underline1", "Under&striked", "Ctrl+U", "Understriked text"},
             std::tuple{"StrikeOut1", "S&trike Out", "", "Striked out text"}}) {
        *styles[i] = addItem(Format1, QString::fromLatin1(name), QString::fromLatin1(caption), QKeySequence(QString::fromLatin1(key)),
                             QString::fromLatin1(hint));
        (*styles[i++])->setCheckable(true);
    }
    Format1->addSeparator()->setObjectName(QStringLiteral("N3"));
    Color = addItem(Format1, QStringLiteral("Color"), QStringLiteral("Color..."), {}, QStringLiteral("Set text color"));

    Preview1 = addMenu(QStringLiteral("Preview1"), QStringLiteral("P&review"));
    LoadText1 = addItem(Preview1, QStringLiteral("LoadText1"), QStringLiteral("&Load..."), QKeySequence(QStringLiteral("Ctrl+L")),
                        QStringLiteral("Load a text for text preview"));
    Clear1 = addItem(Preview1, QStringLiteral("Clear1"), QStringLiteral("&Clear"), QKeySequence(QStringLiteral("Ctrl+N")), QStringLiteral("Clear text preview"));
    Preview1->addSeparator()->setObjectName(QStringLiteral("N4"));
    Cut1 = addItem(Preview1, QStringLiteral("Cut1"), QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")), QStringLiteral("Cut text to clipboard"));
    Copy2 = addItem(Preview1, QStringLiteral("Copy2"), QStringLiteral("Copy"), QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Copy text to clipboard"));
    Paste1 = addItem(Preview1, QStringLiteral("Paste1"), QStringLiteral("Paste"), QKeySequence(QStringLiteral("Ctrl+V")), QStringLiteral("Paste text from clipboard"));
    Preview1->addSeparator()->setObjectName(QStringLiteral("N20"));
    Waterfall1 = addItem(Preview1, QStringLiteral("Waterfall1"), QStringLiteral("&Waterfall"), {},
                         QStringLiteral("Show the first line of the sample at several sizes"));
    Waterfall1->setCheckable(true);

    Symbol1 = addMenu(QStringLiteral("Symbol1"), QStringLiteral("&Symbol"));
    Copy1 = addItem(Symbol1, QStringLiteral("Copy1"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Copy current symbol to clipboard"));
    CopyBuff1 = addItem(Symbol1, QStringLiteral("CopyBuff1"), QStringLiteral("&Add to buffer"), QKeySequence(QStringLiteral("Ctrl+Alt+C")),
                        QStringLiteral("Add a letter to buffer"));
    BuffToClipboard1 = addItem(Symbol1, QStringLiteral("BuffToClipboard1"), QStringLiteral("Co&py buffer"), QKeySequence(QStringLiteral("Ctrl+B")),
                               QStringLiteral("Copy buffer to clipboard"));
    Symbol1->addSeparator()->setObjectName(QStringLiteral("N6"));
    CharPreview2 = addItem(Symbol1, QStringLiteral("CharPreview2"), QStringLiteral("P&review"), QKeySequence(Qt::Key_F8), QStringLiteral("Extended symbol preview"));
    CharPreview2->setCheckable(true);
    CharPreview2->setChecked(true);
    Symbol1->addSeparator()->setObjectName(QStringLiteral("N8"));
    GoTo1 = addItem(Symbol1, QStringLiteral("GoTo1"), QStringLiteral("&Go to..."), QKeySequence(Qt::Key_F4), QStringLiteral("Go to a symbol"));

    Report1 = addMenu(QStringLiteral("Report1"), QStringLiteral("Re&port"));
    SaveAs1 = addItem(Report1, QStringLiteral("SaveAs1"), QStringLiteral("Save as..."), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Save report as"));

    Unicode1 = addMenu(QStringLiteral("Unicode1"), QStringLiteral("&Unicode"));
    UnicodeCopy1 = addItem(Unicode1, QStringLiteral("UnicodeCopy1"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C")),
                           QStringLiteral("Copy the current character to clipboard"));
    UnicodeToBuffer1 = addItem(Unicode1, QStringLiteral("UnicodeToBuffer1"), QStringLiteral("&Add to buffer"), QKeySequence(QStringLiteral("Ctrl+Alt+C")),
                               QStringLiteral("Add the current character to buffer"));
    UnicodeBuffToClipboard1 = addItem(Unicode1, QStringLiteral("UnicodeBuffToClipboard1"), QStringLiteral("Co&py buffer"),
                                      QKeySequence(QStringLiteral("Ctrl+B")), QStringLiteral("Copy buffer to clipboard"));
    Unicode1->addSeparator()->setObjectName(QStringLiteral("N22"));
    UnicodeFind1 = addItem(Unicode1, QStringLiteral("UnicodeFind1"), QStringLiteral("&Find character"), QKeySequence(QStringLiteral("Ctrl+Shift+F")),
                           QStringLiteral("Find a character by its name, its code or the character itself"));
}

void TFormPreviewUi::buildHelpMenus()
{
    CoolLinks = addMenu(QStringLiteral("CoolLinks"), QStringLiteral("Cool Links"));
    CoolLinks->addSeparator()->setObjectName(QStringLiteral("N18"));
    Configure1 = addItem(CoolLinks, QStringLiteral("Configure1"), QStringLiteral("Configure..."), {}, QStringLiteral("Configure Favorites menu"));

    Help1 = addMenu(QStringLiteral("Help1"), QStringLiteral("&Help"));
    Contents1 = addItem(Help1, QStringLiteral("Contents1"), QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1), QStringLiteral("Glyvanta help"));
    TipOfTheDay = addItem(Help1, QStringLiteral("TipOfTheDay"), QStringLiteral("Tip of the Day..."), {}, QString());
    Help1->addSeparator()->setObjectName(QStringLiteral("N9"));
    Website1 = addItem(Help1, QStringLiteral("Website1"), QStringLiteral("Website"), {}, QStringLiteral("Glyvanta website"));
    FontsWebResources1 = addItem(Help1, QStringLiteral("FontsWebResources1"), QStringLiteral("Fonts Web Resources"), {},
                                 QStringLiteral("Links to font resouces"));
    Help1->addSeparator()->setObjectName(QStringLiteral("N10"));
    About1 = addItem(Help1, QStringLiteral("About1"), QStringLiteral("About Glyvanta"), {}, QStringLiteral("About Glyvanta"));
}

void TFormPreviewUi::buildPopups()
{
    PopupFilesBrowse = new QMenu(m_window);
    PopupFilesBrowse->setObjectName(QStringLiteral("PopupFilesBrowse"));
    PopInstall = addItem(PopupFilesBrowse, QStringLiteral("PopInstall"), QStringLiteral("Install"), QKeySequence(Qt::Key_Insert),
                         QStringLiteral("Install current font"));
    PopupFilesBrowse->addSeparator()->setObjectName(QStringLiteral("N12"));
    PopCopyTo = addItem(PopupFilesBrowse, QStringLiteral("PopCopyTo"), QStringLiteral("Copy to..."), {}, QStringLiteral("Copy current file to a folder"));
    PopMoveTo = addItem(PopupFilesBrowse, QStringLiteral("PopMoveTo"), QStringLiteral("Move to..."), {}, QStringLiteral("Move current file to a folder"));
    PopDelete = addItem(PopupFilesBrowse, QStringLiteral("PopDelete"), QStringLiteral("Delete"), {}, QStringLiteral("Delete current file"));
    PopupFilesBrowse->addSeparator()->setObjectName(QStringLiteral("N7"));
    PopFileProperties = addItem(PopupFilesBrowse, QStringLiteral("PopFileProperties"), QStringLiteral("Properties"), {},
                                QStringLiteral("View the current file properties"));
    // The popups' Install shows its shortcut but leaves the key to the menu item.
    PopInstall->setShortcutContext(Qt::WidgetShortcut);

    PopupZipBrowse = new QMenu(m_window);
    PopupZipBrowse->setObjectName(QStringLiteral("PopupZipBrowse"));
    PopZipInstall = addItem(PopupZipBrowse, QStringLiteral("PopZipInstall"), QStringLiteral("Install"), QKeySequence(Qt::Key_Insert),
                            QStringLiteral("Install current font"));
    PopZipInstall->setShortcutContext(Qt::WidgetShortcut);
    PopupZipBrowse->addSeparator()->setObjectName(QStringLiteral("N19"));
    PopZipUnpack = addItem(PopupZipBrowse, QStringLiteral("PopZipUnpack"), QStringLiteral("Unpack..."), {}, QStringLiteral("Unpack current file to a folder"));
    PopZipUnpackHere = addItem(PopupZipBrowse, QStringLiteral("PopZipUnpackHere"), QStringLiteral("Unpack to here"), {},
                               QStringLiteral("Unpack current file to this folder"));
}

void TFormPreviewUi::buildGeneralToolBar()
{
    QToolBar *general = addToolBar(QStringLiteral("ToolBarGeneral"), QStringLiteral("General"));
    BtnLoad = addButton(general, QStringLiteral("BtnLoad"), QStringLiteral("load"), QStringLiteral("Load a font|Load a font file"));
    standFor(BtnLoad, Open1);
    BtnRefresh = addButton(general, QStringLiteral("BtnRefresh"), QStringLiteral("refresh"), QStringLiteral("Refresh|Refresh the current directory"));
    general->addSeparator();
    BtnInst = addButton(general, QStringLiteral("BtnInst"), QStringLiteral("install"), QStringLiteral("Install|Install current font"));
    standFor(BtnInst, Install1);
    BtnInst->setEnabled(false);
    BtnUninst = addButton(general, QStringLiteral("BtnUninst"), QStringLiteral("uninstall"), QString());
    standFor(BtnUninst, Uninstall1);
    general->addSeparator();
    BtnFavorites = addButton(general, QStringLiteral("BtnFavorites"), QStringLiteral("favorites"), QStringLiteral("Favorites|Favorites folders menu"));
    PopupFavorites = new QMenu(m_window);
    PopupFavorites->setObjectName(QStringLiteral("PopupFavorites"));
    PopupFavorites->addSeparator()->setObjectName(QStringLiteral("N16"));
    PopAddCurrDortoFav = PopupFavorites->addAction(QStringLiteral("Add current dir"));
    PopAddCurrDortoFav->setObjectName(QStringLiteral("PopAddCurrDortoFav"));
    PopAddCurrDortoFav->setStatusTip(QStringLiteral("Add current directory to the Favorites menu"));
    PopConfigFav = PopupFavorites->addAction(QStringLiteral("Configure..."));
    PopConfigFav->setObjectName(QStringLiteral("PopConfigFav"));
    PopConfigFav->setStatusTip(QStringLiteral("Configure Favorites menu"));
    BtnFavorites->setMenu(PopupFavorites);
    if (auto *button = qobject_cast<QToolButton *>(general->widgetForAction(BtnFavorites)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    general->addSeparator();
    BtnPreview = addButton(general, QStringLiteral("BtnPreview"), QStringLiteral("textsample"), QStringLiteral("Text Sample|Preview sample text in the selected font"), true);
    BtnPreview->setChecked(true);
    BtnCharmap = addButton(general, QStringLiteral("BtnCharmap"), QStringLiteral("charmap"), QStringLiteral("Characters Map|View characters map for the current font"), true);
    BtnReport = addButton(general, QStringLiteral("BtnReport"), QStringLiteral("report"), QStringLiteral("Report|View report for the current font"), true);
    BtnUnicodeMap = addButton(general, QStringLiteral("BtnUnicodeMap"), QStringLiteral("unicodemap"),
                              QStringLiteral("Unicode Map|View every character of the current font"), true);
    general->addSeparator();
    BtnContig = addButton(general, QStringLiteral("BtnContig"), QStringLiteral("options"), QStringLiteral("Options|Glyvanta options"));
    standFor(BtnContig, Config1);
    general->addSeparator();
    BtnHelp = addButton(general, QStringLiteral("BtnHelp"), QStringLiteral("help"), QStringLiteral("Help contents|Glyvanta help"));
    standFor(BtnHelp, Contents1);
    BtnAbout = addButton(general, QStringLiteral("BtnAbout"), QStringLiteral("about"), QStringLiteral("About|About Glyvanta"));
    standFor(BtnAbout, About1);

    QToolBar *charset = addToolBar(QStringLiteral("ToolBarCharest"), QStringLiteral("Charset"));
    SelectCharset = new QComboBox(charset);
    SelectCharset->setObjectName(QStringLiteral("SelectCharset"));
    SelectCharset->setMinimumWidth(150);
    setHint(SelectCharset, QStringLiteral("|Charset selection"));
    charset->addWidget(SelectCharset);
    SelectStyle = new QComboBox(charset);
    SelectStyle->setObjectName(QStringLiteral("SelectStyle"));
    SelectStyle->setMinimumWidth(110);
    setHint(SelectStyle, QStringLiteral("Style|Show another face of the installed family"));
    charset->addWidget(SelectStyle);

    m_window->addToolBarBreak();
}

void TFormPreviewUi::buildPreviewToolBars()
{
    QToolBar *preview = addToolBar(QStringLiteral("ToolBarPreview"), QStringLiteral("Preview"));
    BtnLoadText = addButton(preview, QStringLiteral("BtnLoadText"), QStringLiteral("loadtext"), QStringLiteral("Load text|Load a text for font preview"));
    standFor(BtnLoadText, LoadText1);
    BtnClear = addButton(preview, QStringLiteral("BtnClear"), QStringLiteral("clear"), QStringLiteral("Clear|Clear the font preview text"));
    standFor(BtnClear, Clear1);
    preview->addSeparator();
    BtnCut = addButton(preview, QStringLiteral("BtnCut"), QStringLiteral("cut"), QStringLiteral("Cut|Cut text to clipboard"));
    standFor(BtnCut, Cut1);
    BtnCopy = addButton(preview, QStringLiteral("BtnCopy"), QStringLiteral("copy"), QStringLiteral("Copy|Copy text to clipboard"));
    standFor(BtnCopy, Copy2);
    BtnPaste = addButton(preview, QStringLiteral("BtnPaste"), QStringLiteral("paste"), QStringLiteral("Paste|Paste text from clipboard"));
    standFor(BtnPaste, Paste1);
    preview->addSeparator();
    BtnWaterfall = addButton(preview, QStringLiteral("BtnWaterfall"), QStringLiteral("waterfall"),
                             QStringLiteral("Waterfall|Show the first line of the sample at several sizes"), true);
    standFor(BtnWaterfall, Waterfall1);

    QToolBar *format = addToolBar(QStringLiteral("ToolBarFormat"), QStringLiteral("Format"));
    FontSize = new QSpinBox(format);
    FontSize->setObjectName(QStringLiteral("FontSize"));
    FontSize->setRange(1, 75);
    FontSize->setValue(12);
    setHint(FontSize, QStringLiteral("Font Size|Current preview font size"));
    format->addWidget(FontSize);
    format->addSeparator();
    BtnBold = addButton(format, QStringLiteral("BtnBold"), QStringLiteral("bold"), QStringLiteral("Bold|Bolder text"), true);
    standFor(BtnBold, Bold1);
    BtnItalic = addButton(format, QStringLiteral("BtnItalic"), QStringLiteral("italic"), QStringLiteral("Italic|Italic text"), true);
    standFor(BtnItalic, Italic1);
    BtnUnderline = addButton(format, QStringLiteral("BtnUnderline"), QStringLiteral("underline"), QStringLiteral("Underline|Undelined text"), true);
    standFor(BtnUnderline, Underline1);
    format->addSeparator();
    BtnColor = addButton(format, QStringLiteral("BtnColor"), QStringLiteral("color"), QStringLiteral("Font Color|The color of font"));
    standFor(BtnColor, Color);
    format->addSeparator();
    auto *alignment = new QActionGroup(m_window);
    BtnLeft = addButton(format, QStringLiteral("BtnLeft"), QStringLiteral("alignleft"), QStringLiteral("Left align|Align text by left side"), true);
    BtnCenter = addButton(format, QStringLiteral("BtnCenter"), QStringLiteral("aligncenter"), QStringLiteral("Center align|Align text by center"), true);
    BtnRight = addButton(format, QStringLiteral("BtnRight"), QStringLiteral("alignright"), QStringLiteral("Right align|Align text by right side"), true);
    for (QAction *a : {BtnLeft, BtnCenter, BtnRight})
        alignment->addAction(a);
    BtnLeft->setChecked(true);
}

void TFormPreviewUi::buildCharacterToolBar()
{
    QToolBar *character = addToolBar(QStringLiteral("ToolBarCharacter"), QStringLiteral("Character"));
    BtnCopyChar = addButton(character, QStringLiteral("BtnCopyChar"), QStringLiteral("copychar"), QStringLiteral("Copy symbol|Copy current symbol to clipboard"));
    standFor(BtnCopyChar, Copy1);
    BtnAddToCharBuff = addButton(character, QStringLiteral("BtnAddToCharBuff"), QStringLiteral("tobuffer"), QStringLiteral("To buffer|Copy the current symbol to buffer"));
    standFor(BtnAddToCharBuff, CopyBuff1);
    character->addSeparator();
    CopyBuff = new QLineEdit(character);
    CopyBuff->setObjectName(QStringLiteral("CopyBuff"));
    CopyBuff->setFixedWidth(120);
    setHint(CopyBuff, QStringLiteral("Characters to copy"));
    character->addWidget(CopyBuff);
    BtnCopyBuff = addButton(character, QStringLiteral("BtnCopyBuff"), QStringLiteral("copybuffer"), QStringLiteral("Copy buffer|Copy the buffer to clipboard"));
    standFor(BtnCopyBuff, BuffToClipboard1);
    BtnCharPreview = addButton(character, QStringLiteral("BtnCharPreview"), QStringLiteral("charpreview"), QStringLiteral("Extended preview|Extended symbol preview"), true);
    standFor(BtnCharPreview, CharPreview2);
    BtnCharPreview->setChecked(true);
    character->addSeparator();
    BtnGotoLetter = addButton(character, QStringLiteral("BtnGotoLetter"), QStringLiteral("goto"), QStringLiteral("Go to|Go to a symbol"));
    standFor(BtnGotoLetter, GoTo1);

    QToolBar *unicode = addToolBar(QStringLiteral("ToolBarUnicode"), QStringLiteral("Unicode"));
    BtnUnicodeCopy = addButton(unicode, QStringLiteral("BtnUnicodeCopy"), QStringLiteral("copychar"),
                               QStringLiteral("Copy character|Copy the current character to clipboard"));
    standFor(BtnUnicodeCopy, UnicodeCopy1);
    BtnUnicodeToBuffer = addButton(unicode, QStringLiteral("BtnUnicodeToBuffer"), QStringLiteral("tobuffer"),
                                   QStringLiteral("To buffer|Add the current character to buffer"));
    standFor(BtnUnicodeToBuffer, UnicodeToBuffer1);
}

void TFormPreviewUi::buildStatusBar()
{
    QStatusBar *bar = m_window->statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    const int widths[4] = {360, 100, 70, 75};
    for (int i = 0; i < 4; ++i) {
        // A text longer than its panel ends in "…" instead of being clipped.
        auto *panel = new ElidedLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusPanels[static_cast<size_t>(i)] = panel;
        bar->addWidget(panel);
    }
    StatusPanels[1]->setText(QStringLiteral("Default font"));
}

NavigationControls TFormPreviewUi::navigation() const
{
    return {DisksBrowse, EditFileName, FilesBrowse, FontsList, ZipBrowse, PanelSelectExt, SelectExt};
}

CharacterMapControls TFormPreviewUi::characterMap() const
{
    return {CharactersPreview, SymbolGroup, SymbolPreview, AsciiDec, AcsiiHex, AsciiCode, OriginalLetter, GoTo, GoToCode, GoToSymbol,
            SelectCharset, CopyBuff, CharPreview2, BtnCharPreview};
}

FontViewControls TFormPreviewUi::fontViews() const
{
    return {Preview, CopyBuff, CharactersPreview, SymbolPreview, SelectCharset, TabsPreviewModes, SelectStyle};
}

UnicodeMapControls TFormPreviewUi::unicodeMap() const
{
    return {UnicodeGrid, UnicodeBlocks, UnicodeSearch, UnicodeCount, UnicodeSymbol, UnicodeName, UnicodeCode,
            UnicodeUtf8, UnicodeUtf16, UnicodeBlock, UnicodeCategory, CopyBuff};
}

FileMenuItems TFormPreviewUi::fileMenuItems() const
{
    return {Unpack, UnpackHere, N17, CopyTo, MoveTo, N15, FileProperties, Delete, N1};
}
