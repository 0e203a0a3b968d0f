// SPDX-License-Identifier: MIT
#pragma once

#include "CharacterMap.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FontViews.h"
#include "UnicodeMap.h"

#include <QString>

#include <array>

class ListView;
class QAction;
class QActionGroup;
class QComboBox;
class QGroupBox;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTextEdit;
class QToolBar;
class QToolButton;
class QWidget;
class Waterfall;

// The main window's widgets and commands, built in one place; every member carries the
// objectName it is declared with. Building wires nothing but a toolbar button to the menu item
// it stands for; the window connects the handlers.
class TFormPreviewUi {
public:
    // Builds into the window. Menu items send their shortcut events to the filter first, so that
    // the window can settle the keys two items share.
    void setupUi(QMainWindow *window, QObject *shortcutFilter);

    // The parts the subsystems work on.
    NavigationControls navigation() const;
    CharacterMapControls characterMap() const;
    FontViewControls fontViews() const;
    UnicodeMapControls unicodeMap() const;
    FileMenuItems fileMenuItems() const;

    // Menus and their items.
    QMenu *File1, *View1, *Format1, *Preview1, *Symbol1, *Report1, *Unicode1, *CoolLinks, *Help1;
    QAction *Open1, *Refresh1, *Install1, *Uninstall1, *Unpack, *UnpackHere, *N17, *CopyTo, *MoveTo, *Delete, *N15,
        *FileProperties, *N1, *Exit1;
    QAction *FontPreview2, *CharMap2, *Report2, *UnicodeMap2, *Config1, *FilterList1;
    QAction *Bold1, *Italic1, *Underline1, *StrikeOut1, *Color;
    QAction *LoadText1, *Clear1, *Cut1, *Copy2, *Paste1, *Waterfall1;
    QAction *Copy1, *CopyBuff1, *BuffToClipboard1, *CharPreview2, *GoTo1;
    QAction *SaveAs1;
    QAction *UnicodeCopy1, *UnicodeToBuffer1, *UnicodeBuffToClipboard1, *UnicodeFind1;
    QAction *Configure1;
    QAction *Contents1, *TipOfTheDay, *Website1, *FontsWebResources1, *About1;
    QActionGroup *ViewModes;

    // Popup menus.
    QMenu *PopupFavorites, *PopupFilesBrowse, *PopupZipBrowse;
    QAction *PopAddCurrDortoFav, *PopConfigFav;
    QAction *PopInstall, *PopCopyTo, *PopMoveTo, *PopDelete, *PopFileProperties;
    QAction *PopZipInstall, *PopZipUnpack, *PopZipUnpackHere;

    // Toolbars.
    QAction *BtnLoad, *BtnRefresh, *BtnInst, *BtnUninst, *BtnFavorites, *BtnPreview, *BtnCharmap, *BtnReport, *BtnUnicodeMap,
        *BtnContig, *BtnHelp, *BtnAbout;
    QComboBox *SelectCharset;
    QComboBox *SelectStyle;   // the faces of the shown installed family
    QAction *BtnLoadText, *BtnClear, *BtnCut, *BtnCopy, *BtnPaste, *BtnWaterfall;
    QSpinBox *FontSize;
    QAction *BtnBold, *BtnItalic, *BtnUnderline, *BtnColor, *BtnLeft, *BtnCenter, *BtnRight;
    QAction *BtnCopyChar, *BtnAddToCharBuff, *BtnCopyBuff, *BtnCharPreview, *BtnGotoLetter;
    QLineEdit *CopyBuff;
    QAction *BtnUnicodeCopy, *BtnUnicodeToBuffer;

    // The navigation box.
    QSplitter *MainSplitter;
    QWidget *BoxFilesBrowse, *PanelDriveBrowse, *PanelViewStyleButtonsPanel;
    QComboBox *DisksBrowse;
    std::array<QToolButton *, 4> ViewStyleButtons;   // ButtonvsIcons, ButtonvsSmallIcon, ButtonvsList, ButtonvsReport
    QLineEdit *EditFileName;
    QLineEdit *FilterList;   // filters the shown list as the user types
    ListView *FilesBrowse, *FontsList, *ZipBrowse;
    QWidget *PanelSelectExt;
    QComboBox *SelectExt;

    // The pages: the text sample (with its waterfall), the character map, the report, the
    // Unicode map.
    QTabWidget *TabsPreviewModes;
    QPlainTextEdit *Preview;
    QWidget *WaterfallBox;
    Waterfall *PreviewWaterfall;
    QTableWidget *CharactersPreview;
    QGroupBox *SymbolGroup;
    QWidget *PanelSymbol, *PanelANSICode, *PanelSymbolSearch;
    QGroupBox *GroupBoxGoTo;
    QLabel *SymbolPreview;
    QRadioButton *AsciiDec, *AcsiiHex;
    QLineEdit *AsciiCode, *OriginalLetter, *GoTo;
    QRadioButton *GoToCode, *GoToSymbol;
    QPushButton *GoStart;
    QTextEdit *ReportEdit;
    QTableView *UnicodeGrid;
    QComboBox *UnicodeBlocks;
    QLineEdit *UnicodeSearch;
    QGroupBox *UnicodeGroup;
    QLabel *UnicodeCount, *UnicodeSymbol, *UnicodeName, *UnicodeCode, *UnicodeUtf8, *UnicodeUtf16, *UnicodeBlock, *UnicodeCategory;

    // Status bar panels 0 to 3.
    std::array<QLabel *, 4> StatusPanels;

private:
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut, const QString &hint);
    QAction *addButton(QToolBar *bar, const QString &name, const QString &icon, const QString &hint, bool checkable = false);
    QMenu *addMenu(const QString &name, const QString &caption);
    QToolBar *addToolBar(const QString &name, const QString &title);
    void buildFileAndViewMenus();
    void buildTextMenus();
    void buildHelpMenus();
    void buildPopups();
    void buildGeneralToolBar();
    void buildPreviewToolBars();
    void buildCharacterToolBar();
    void buildCentral();
    void buildNavigation(QWidget *box);
    void buildDriveBox(QWidget *box);
    void buildNavigationLists(QWidget *box);
    void buildTextPage();
    void buildCharacterMapPage();
    void buildSymbolPanel(QWidget *sheet);
    void buildGoToPanel(QWidget *symbolGroup);
    void buildReportPage();
    void buildUnicodePage();
    void buildUnicodeDetails(QWidget *sheet);
    void buildUnicodeMenuAndToolBar();
    void buildStatusBar();

    QMainWindow *m_window = nullptr;
    QObject *m_shortcutFilter = nullptr;
};
