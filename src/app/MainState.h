// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>

class FontCatalogue;
class FontsRegistry;
class RegistryStore;
class Prompter;
struct Paths;

class ListView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTextEdit;
class QWidget;
class QTableWidget;
class QGroupBox;
class QRadioButton;
class QPushButton;
class QSpinBox;

// The font last loaded from a file.
struct CurrentFontRecord {
    bool KeepFontResource = false;
    int FontFileHandle = 0;                 // an open file descriptor of the naming-table reader, 0 when closed
    std::array<QString, 21> FontNames;      // name IDs 0 to 20
    QString FontFilePath;
};

// The state the main window shares with every part of the program, under these names.
struct MainState {
    QString CurrentFolder;
    QString StartFolder;
    QString FontsRegistryKey;
    QString SystemFontsFolder;
    QString ProgramFolder;
    QString ArchiveTempFile;
    CurrentFontRecord CurrentFont;
    QStringList InstalledFontFiles;
    QStringList IniSectionKeys;
    bool FontsListReady = true;
    bool StartupTipPending = false;
    int TipCount = 0;
    // The colours the text-colour and background-colour pickers hold.
    QColor TextColor = Qt::black;
    QColor BackgroundColor = Qt::white;
};

// The services behind the Windows facilities.
struct MainServices {
    Prompter &prompter;
    RegistryStore &registry;
    FontCatalogue &catalogue;
    FontsRegistry &fontsKey;
    const Paths &paths;
};

// The main window's controls that the parts work on, by their names.
struct MainControls {
    // navigation
    QComboBox *DisksBrowse = nullptr;
    QLineEdit *EditFileName = nullptr;
    ListView *FilesBrowse = nullptr;
    ListView *FontsList = nullptr;
    ListView *ZipBrowse = nullptr;
    QWidget *PanelSelectExt = nullptr;
    QComboBox *SelectExt = nullptr;
    // views
    QTabWidget *TabsPreviewModes = nullptr;
    QPlainTextEdit *Preview = nullptr;
    QTableWidget *CharactersPreview = nullptr;
    QGroupBox *SymbolGroup = nullptr;
    QWidget *PanelSymbol = nullptr;
    QWidget *PanelANSICode = nullptr;
    QWidget *PanelSymbolSearch = nullptr;
    QGroupBox *GroupBoxGoTo = nullptr;
    QLabel *SymbolPreview = nullptr;
    QRadioButton *AsciiDec = nullptr;
    QRadioButton *AcsiiHex = nullptr;
    QLineEdit *AsciiCode = nullptr;
    QLineEdit *OriginalLetter = nullptr;
    QLineEdit *GoTo = nullptr;
    QRadioButton *GoToCode = nullptr;
    QRadioButton *GoToSymbol = nullptr;
    QPushButton *GoStart = nullptr;
    QTextEdit *ReportEdit = nullptr;
    // toolbars
    QLineEdit *CopyBuff = nullptr;
    QComboBox *SelectCharset = nullptr;
    QSpinBox *FontSize = nullptr;
    // status bar panels 0 to 3
    std::array<QLabel *, 4> StatusPanels{};
    // commands whose state other parts change
    QAction *Install1 = nullptr;
    QAction *BtnInst = nullptr;
    QAction *Uninstall1 = nullptr;
    QAction *BtnUninst = nullptr;
    QAction *CharPreview2 = nullptr;
    QAction *BtnCharPreview = nullptr;
};
