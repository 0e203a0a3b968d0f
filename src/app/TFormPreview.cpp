// SPDX-License-Identifier: MIT
#include "TFormPreview.h"

#include "AppError.h"
#include "ArchiveBrowser.h"
#include "TZipKit.h"
#include "CharacterMap.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FontLoader.h"
#include "Installer.h"
#include "IniFile.h"
#include "IntConv.h"
#include "Settings.h"
#include "ReportView.h"
#include "TextSample.h"
#include "Desktop.h"
#include "FaceFont.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "Icons.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "MenuTree.h"
#include "Paths.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "TFormAbout.h"
#include "TFormConfig.h"
#include "TFormFontInstall.h"
#include "TFormGoTo.h"
#include "OrganizerDialogs.h"
#include "UserMenus.h"
#include "TFormTip.h"
#include "TOverwritePromt.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QDateTime>
#include <QUrl>
#include <random>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QKeyEvent>
#include <QShortcutEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <unistd.h>

namespace {

const QString kCaption = QStringLiteral("Glyvanta v. 2.4");

QString shortHint(const QString &hint)
{
    return hint.section(QLatin1Char('|'), 0, 0);
}

QString longHint(const QString &hint)
{
    return hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
}

void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

template<typename T>
T *named(T *object, const QString &name)
{
    object->setObjectName(name);
    return object;
}

}

TFormPreview::TFormPreview(MainServices services, QStringList arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_arguments(std::move(arguments))
{
    setObjectName(QStringLiteral("TFormPreview"));
    setWindowTitle(kCaption);

    // Creation, in order.
    m_state.StartupTipPending = false;
    m_state.SystemFontsFolder = m_services.paths.systemFontsFolder;
    m_state.FontsRegistryKey = m_services.fontsKey.keyExists(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts"))
        ? QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts")
        : QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    m_state.ProgramFolder = m_services.paths.programFolder;
    m_state.FontsListReady = true;
    // The first run starts from the shipped file, which carries the tips and some links.
    m_services.paths.installDefaultFavorites();
    m_favoritesIni = std::make_unique<IniFile>(m_services.paths.favoritesIni());

    QFont windowFont = font();
    windowFont.setPointSize(9);
    setFont(windowFont);

    buildMenus();
    buildToolbars();
    auto *central = new QWidget(this);
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(2, 2, 2, 2);
    m_mainSplitter = named(new QSplitter(Qt::Horizontal, central), QStringLiteral("MainSplitter"));
    m_mainSplitter->setChildrenCollapsible(false);
    centralLayout->addWidget(m_mainSplitter);
    setCentralWidget(central);
    auto *box = named(new QGroupBox(QStringLiteral("Navigation"), m_mainSplitter), QStringLiteral("BoxFilesBrowse"));
    m_boxFilesBrowse = box;
    buildNavigation(box);
    buildPages();
    m_mainSplitter->addWidget(box);
    m_mainSplitter->addWidget(m_controls.TabsPreviewModes);
    box->setMinimumWidth(50);
    m_controls.TabsPreviewModes->setMinimumWidth(50);
    m_mainSplitter->setStretchFactor(0, 0);
    m_mainSplitter->setStretchFactor(1, 1);
    m_mainSplitter->setSizes({277, 709 - 277});
    connect(m_mainSplitter, &QSplitter::splitterMoved, this, [this](int pos) { guarded([&] { MainSplitterMoved(pos); }); });
    buildStatusBar();

    m_controls.CharPreview2 = action(QStringLiteral("CharPreview2"));
    m_controls.BtnCharPreview = action(QStringLiteral("BtnCharPreview"));
    m_installedFonts = std::make_unique<InstalledFontsList>(m_state, m_services, m_controls);
    m_textSample = std::make_unique<TextSample>(m_state, m_services, m_controls, [this] {
        FormConfig->showColors();
        m_settings->SaveSettings(true);
    });
    m_characterMap = std::make_unique<CharacterMap>(m_state, m_services, m_controls);
    m_report = std::make_unique<ReportView>(m_state, m_services, m_controls, *m_installedFonts, *m_characterMap);
    m_fontLoader = std::make_unique<FontLoader>(m_state, m_services, m_controls, *m_installedFonts, *m_characterMap, *m_report);
    m_folderBrowser = std::make_unique<FolderBrowser>(m_state, m_services, m_controls, *m_installedFonts, *m_fontLoader, *m_characterMap,
                                                      [this] { ReleaseCurrentFont(); });
    m_controls.FilesBrowse->setInternalDrag(true);
    setViewColors(m_controls.Preview, m_state.TextColor, m_state.BackgroundColor);
    setViewColors(m_controls.CharactersPreview, m_state.TextColor, m_state.BackgroundColor);

    FormAbout = new TFormAbout(this);
    FormConfig = new TFormConfig(m_services.prompter, m_state, this);
    OverwritePromt = new TOverwritePromt(this);
    FormFontInstall = new TFormFontInstall(this);
    FormGoTo = new TFormGoTo(this);
    FormNewItem = new TFormNewItem(this);
    FormFavOrg = new TFormFavOrg(m_services.prompter, *FormNewItem, this);
    FormLinksOrg = new TFormLinksOrg(m_services.prompter, *FormNewItem, this);
    FormTip = new TFormTip(this);
    m_settings = std::make_unique<Settings>(*this);
    m_popupFilesBrowse = new QMenu(this);
    m_popupFilesBrowse->setObjectName(QStringLiteral("PopupFilesBrowse"));
    addItem(m_popupFilesBrowse, QStringLiteral("PopInstall"), QStringLiteral("Install"), QKeySequence(Qt::Key_Insert), QStringLiteral("Install current font"),
            [this] { m_installer->Install1Click(); });
    m_popupFilesBrowse->addSeparator()->setObjectName(QStringLiteral("N12"));
    addItem(m_popupFilesBrowse, QStringLiteral("PopCopyTo"), QStringLiteral("Copy to..."), {}, QStringLiteral("Copy current file to a folder"),
            [this] { m_fileOperations->PopCopyToClick(); });
    addItem(m_popupFilesBrowse, QStringLiteral("PopMoveTo"), QStringLiteral("Move to..."), {}, QStringLiteral("Move current file to a folder"),
            [this] { m_fileOperations->PopMoveToClick(); });
    addItem(m_popupFilesBrowse, QStringLiteral("PopDelete"), QStringLiteral("Delete"), {}, QStringLiteral("Delete current file"),
            [this] { m_fileOperations->PopDeleteClick(); });
    m_popupFilesBrowse->addSeparator()->setObjectName(QStringLiteral("N7"));
    addItem(m_popupFilesBrowse, QStringLiteral("PopFileProperties"), QStringLiteral("Properties"), {}, QStringLiteral("View the current file properties"),
            [this] { m_fileOperations->PopFilePropertiesClick(); });
    // The popup's Install shows its shortcut but leaves the key to the menu item.
    action(QStringLiteral("PopInstall"))->setShortcutContext(Qt::WidgetShortcut);
    m_fileOperations = std::make_unique<FileOperations>(m_state, m_services, m_controls, *m_folderBrowser, *OverwritePromt, *m_popupFilesBrowse,
                                                        *menu(QStringLiteral("File1")));
    m_installer = std::make_unique<Installer>(m_state, m_services, m_controls, *FormFontInstall);
    m_zipKit = std::make_unique<TZipKit>(m_services.prompter);
    m_zipKit->setObjectName(QStringLiteral("ZipKit"));
    m_popupZipBrowse = new QMenu(this);
    m_popupZipBrowse->setObjectName(QStringLiteral("PopupZipBrowse"));
    addItem(m_popupZipBrowse, QStringLiteral("PopZipInstall"), QStringLiteral("Install"), QKeySequence(Qt::Key_Insert), QStringLiteral("Install current font"),
            [this] { m_installer->Install1Click(); });
    action(QStringLiteral("PopZipInstall"))->setShortcutContext(Qt::WidgetShortcut);
    m_popupZipBrowse->addSeparator()->setObjectName(QStringLiteral("N19"));
    addItem(m_popupZipBrowse, QStringLiteral("PopZipUnpack"), QStringLiteral("Unpack..."), {}, QStringLiteral("Unpack current file to a folder"),
            [this] { m_archiveBrowser->PopZipUnpackClick(); });
    addItem(m_popupZipBrowse, QStringLiteral("PopZipUnpackHere"), QStringLiteral("Unpack to here"), {}, QStringLiteral("Unpack current file to this folder"),
            [this] { m_archiveBrowser->PopZipUnpackHereClick(); });
    m_archiveBrowser = std::make_unique<ArchiveBrowser>(m_state, m_services, m_controls, *m_zipKit, *m_folderBrowser, *m_fileOperations,
                                                        *m_fontLoader, *m_characterMap, *m_popupZipBrowse, [this] { ReleaseCurrentFont(); });
    m_installer->archiveEntryPath = [this] { return m_archiveBrowser->extractedPath(); };
    m_userMenus = std::make_unique<UserMenus>(m_state, m_services, *m_favoritesIni, *findChild<QMenu *>(QStringLiteral("PopupFavorites")),
                                              *menu(QStringLiteral("CoolLinks")), *FormFavOrg, *FormLinksOrg);
    m_userMenus->listFolder = [this](const QString &path) { return m_folderBrowser->ListFolder(path); };
    m_userMenus->refresh = [this] { Refresh1Click(); };
    m_installer->pickFontFile = [this] {
        if (const auto path = m_services.prompter.openFile(
                QStringLiteral("TrueType (*.ttf)|*.ttf;*.001|Raster (*.fon)|*.fon|All fonts|*.fon;*.ttf|All files|*.*"), QString()))
            FormFontInstall->FilePath->setText(*path);
    };
    connectHandlers();

    m_sysTimer = new QTimer(this);
    m_sysTimer->setObjectName(QStringLiteral("SysTimer"));
    m_sysTimer->setInterval(50);
    connect(m_sysTimer, &QTimer::timeout, this, [this] { guarded([&] { SysTimerTimer(); }); });

    resize(709, 629);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormPreview::~TFormPreview()
{
    ReleaseCurrentFont();
}

void TFormPreview::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const AppError &error) {
        m_services.prompter.message(error.message(), MessageIcon::Error);
    } catch (const std::exception &error) {
        m_services.prompter.message(QString::fromLocal8Bit(error.what()), MessageIcon::Error);
    }
}

void TFormPreview::connectGuarded(QAction *action, std::function<void()> handler)
{
    if (!handler)
        return;
    connect(action, &QAction::triggered, this, [this, handler] { guarded(handler); });
}

QAction *TFormPreview::addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut,
                               const QString &hint, std::function<void()> handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The tag starts as the item's own shortcut, so an item that was disabled on its own gets it
    // back when its menu is enabled again.
    action->setProperty("tag", QVariant::fromValue(shortcut));
    action->setStatusTip(hint);
    action->installEventFilter(this);
    connectGuarded(action, std::move(handler));
    return action;
}

QAction *TFormPreview::addButton(QToolBar *bar, const QString &name, const QString &icon, const QString &hint,
                                 std::function<void()> handler, bool checkable)
{
    QAction *action = bar->addAction(Icons::get(icon), shortHint(hint));
    action->setObjectName(name);
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
    action->setCheckable(checkable);
    connectGuarded(action, std::move(handler));
    if (QWidget *button = bar->widgetForAction(action))
        button->setObjectName(name);
    return action;
}

QAction *TFormPreview::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

QMenu *TFormPreview::menu(const QString &name) const
{
    return findChild<QMenu *>(name);
}

void TFormPreview::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto addMenu = [&](const QString &name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        m->menuAction()->setProperty("tag", QVariant::fromValue(QKeySequence()));
        m->setToolTipsVisible(false);
        return m;
    };
    auto separator = [](QMenu *m, const QString &name) { m->addSeparator()->setObjectName(name); };

    QMenu *file = addMenu(QStringLiteral("File1"), QStringLiteral("&File"));
    addItem(file, QStringLiteral("Open1"), QStringLiteral("&Load..."), QKeySequence(QStringLiteral("Ctrl+O")), QStringLiteral("Load a file"));
    addItem(file, QStringLiteral("Refresh1"), QStringLiteral("&Refresh"), QKeySequence(QStringLiteral("Ctrl+Alt+O")),
            QStringLiteral("Refresh current directory"), [this] { Refresh1Click(); });
    separator(file, QStringLiteral("N5"));
    m_controls.Install1 = addItem(file, QStringLiteral("Install1"), QStringLiteral("&Install"), QKeySequence(Qt::Key_Insert),
                                  QStringLiteral("Install current font"));
    m_controls.Install1->setEnabled(false);
    m_controls.Uninstall1 = addItem(file, QStringLiteral("Uninstall1"), QStringLiteral("&Uninstall"), QKeySequence(Qt::Key_Delete),
                                    QStringLiteral("Uninstall the font"));
    separator(file, QStringLiteral("N13"));
    addItem(file, QStringLiteral("Unpack"), QStringLiteral("Unpack..."), {}, QStringLiteral("Unpack current file to a folder"));
    addItem(file, QStringLiteral("UnpackHere"), QStringLiteral("Unpack to here"), {}, QStringLiteral("Unpack current file to this folder"));
    separator(file, QStringLiteral("N17"));
    addItem(file, QStringLiteral("CopyTo"), QStringLiteral("Copy to..."), {}, QStringLiteral("Copy current file to a folder"));
    addItem(file, QStringLiteral("MoveTo"), QStringLiteral("Move to..."), {}, QStringLiteral("Move current file to a folder"));
    addItem(file, QStringLiteral("Delete"), QStringLiteral("Delete"), {}, QStringLiteral("Delete current file"));
    separator(file, QStringLiteral("N15"));
    addItem(file, QStringLiteral("FileProperties"), QStringLiteral("Properties"), {}, QStringLiteral("View the current file properties"));
    separator(file, QStringLiteral("N1"));
    addItem(file, QStringLiteral("Exit1"), QStringLiteral("E&xit"), QKeySequence(Qt::Key_F10), QStringLiteral("Exit Glyvanta"), [this] { close(); });

    QMenu *view = addMenu(QStringLiteral("View1"), QStringLiteral("&View"));
    m_viewModeGroup = new QActionGroup(this);
    QAction *textSample = addItem(view, QStringLiteral("FontPreview2"), QStringLiteral("&Text Sample"), QKeySequence(Qt::Key_F5),
                                  QStringLiteral("Preview sample text in selected font"), [this] { FontPreview2Click(); });
    QAction *charMap = addItem(view, QStringLiteral("CharMap2"), QStringLiteral("Characters &Map"), QKeySequence(Qt::Key_F6),
                               QStringLiteral("View characters map for current font"), [this] { CharMap2Click(); });
    QAction *report = addItem(view, QStringLiteral("Report2"), QStringLiteral("&Report"), QKeySequence(Qt::Key_F7),
                              QStringLiteral("View report for this font"), [this] { Report2Click(); });
    for (QAction *a : {textSample, charMap, report}) {
        a->setCheckable(true);
        m_viewModeGroup->addAction(a);
    }
    textSample->setChecked(true);
    separator(view, QStringLiteral("N2"));
    addItem(view, QStringLiteral("Config1"), QStringLiteral("Op&tions"), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Glyvanta options"));

    QMenu *format = addMenu(QStringLiteral("Format1"), QStringLiteral("Fo&rmat"));
    for (const auto &[name, caption, key, hint] : {
             std::tuple{"Bold1", "&Bold", "Ctrl+B", "Bolder text"},
             std::tuple{"Italic1", "&Italic", "Ctrl+I", "Italic text"},
             std::tuple{"Underline1", "Under&striked", "Ctrl+U", "Understriked text"},
             std::tuple{"StrikeOut1", "S&trike Out", "", "Striked out text"}}) {
        addItem(format, QString::fromLatin1(name), QString::fromLatin1(caption), QKeySequence(QString::fromLatin1(key)),
                QString::fromLatin1(hint))->setCheckable(true);
    }
    separator(format, QStringLiteral("N3"));
    addItem(format, QStringLiteral("Color"), QStringLiteral("Color..."), {}, QStringLiteral("Set text color"));

    QMenu *preview = addMenu(QStringLiteral("Preview1"), QStringLiteral("P&review"));
    addItem(preview, QStringLiteral("LoadText1"), QStringLiteral("&Load..."), QKeySequence(QStringLiteral("Ctrl+L")), QStringLiteral("Load a text for text preview"));
    addItem(preview, QStringLiteral("Clear1"), QStringLiteral("&Clear"), QKeySequence(QStringLiteral("Ctrl+N")), QStringLiteral("Clear text preview"));
    separator(preview, QStringLiteral("N4"));
    addItem(preview, QStringLiteral("Cut1"), QStringLiteral("Cut"), QKeySequence(QStringLiteral("Ctrl+X")), QStringLiteral("Cut text to clipboard"));
    addItem(preview, QStringLiteral("Copy2"), QStringLiteral("Copy"), QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Copy text to clipboard"));
    addItem(preview, QStringLiteral("Paste1"), QStringLiteral("Paste"), QKeySequence(QStringLiteral("Ctrl+V")), QStringLiteral("Paste text from clipboard"));

    QMenu *symbol = addMenu(QStringLiteral("Symbol1"), QStringLiteral("&Symbol"));
    addItem(symbol, QStringLiteral("Copy1"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Copy current symbol to clipboard"));
    addItem(symbol, QStringLiteral("CopyBuff1"), QStringLiteral("&Add to buffer"), QKeySequence(QStringLiteral("Ctrl+Alt+C")), QStringLiteral("Add a letter to buffer"));
    addItem(symbol, QStringLiteral("BuffToClipboard1"), QStringLiteral("Co&py buffer"), QKeySequence(QStringLiteral("Ctrl+B")), QStringLiteral("Copy buffer to clipboard"));
    separator(symbol, QStringLiteral("N6"));
    QAction *charPreview = addItem(symbol, QStringLiteral("CharPreview2"), QStringLiteral("P&review"), QKeySequence(Qt::Key_F8),
                                   QStringLiteral("Extended symbol preview"));
    charPreview->setCheckable(true);
    charPreview->setChecked(true);
    separator(symbol, QStringLiteral("N8"));
    addItem(symbol, QStringLiteral("GoTo1"), QStringLiteral("&Go to..."), QKeySequence(Qt::Key_F4), QStringLiteral("Go to a symbol"));

    QMenu *reportMenu = addMenu(QStringLiteral("Report1"), QStringLiteral("Re&port"));
    addItem(reportMenu, QStringLiteral("SaveAs1"), QStringLiteral("Save as..."), QKeySequence(QStringLiteral("Ctrl+S")), QStringLiteral("Save report as"));

    QMenu *links = addMenu(QStringLiteral("CoolLinks"), QStringLiteral("Cool Links"));
    separator(links, QStringLiteral("N18"));
    addItem(links, QStringLiteral("Configure1"), QStringLiteral("Configure..."), {}, QStringLiteral("Configure Favorites menu"));

    QMenu *help = addMenu(QStringLiteral("Help1"), QStringLiteral("&Help"));
    addItem(help, QStringLiteral("Contents1"), QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1), QStringLiteral("Glyvanta help"));
    addItem(help, QStringLiteral("TipOfTheDay"), QStringLiteral("Tip of the Day..."), {}, QString());
    separator(help, QStringLiteral("N9"));
    addItem(help, QStringLiteral("Website1"), QStringLiteral("Website"), {}, QStringLiteral("Glyvanta website"));
    addItem(help, QStringLiteral("FontsWebResources1"), QStringLiteral("Fonts Web Resources"), {}, QStringLiteral("Links to font resouces"));
    separator(help, QStringLiteral("N10"));
    addItem(help, QStringLiteral("About1"), QStringLiteral("About Glyvanta"), {}, QStringLiteral("About Glyvanta"));
}

void TFormPreview::buildToolbars()
{
    auto makeBar = [&](const QString &name, const QString &title) {
        QToolBar *bar = addToolBar(title);
        bar->setObjectName(name);
        bar->setMovable(true);
        bar->setIconSize(QSize(16, 16));
        return bar;
    };
    auto forward = [this](const QString &item) {
        return [this, item] {
            if (QAction *a = action(item); a && a->isEnabled())
                a->trigger();
        };
    };

    QToolBar *general = makeBar(QStringLiteral("ToolBarGeneral"), QStringLiteral("General"));
    addButton(general, QStringLiteral("BtnLoad"), QStringLiteral("load"), QStringLiteral("Load a font|Load a font file"), forward(QStringLiteral("Open1")));
    addButton(general, QStringLiteral("BtnRefresh"), QStringLiteral("refresh"), QStringLiteral("Refresh|Refresh the current directory"), [this] { Refresh1Click(); });
    general->addSeparator();
    m_controls.BtnInst = addButton(general, QStringLiteral("BtnInst"), QStringLiteral("install"), QStringLiteral("Install|Install current font"), forward(QStringLiteral("Install1")));
    m_controls.BtnInst->setEnabled(false);
    m_controls.BtnUninst = addButton(general, QStringLiteral("BtnUninst"), QStringLiteral("uninstall"), QString(), forward(QStringLiteral("Uninstall1")));
    general->addSeparator();
    QAction *favorites = addButton(general, QStringLiteral("BtnFavorites"), QStringLiteral("favorites"), QStringLiteral("Favorites|Favorites folders menu"));
    auto *favoritesMenu = new QMenu(this);
    favoritesMenu->setObjectName(QStringLiteral("PopupFavorites"));
    favoritesMenu->addSeparator()->setObjectName(QStringLiteral("N16"));
    QAction *addCurrent = favoritesMenu->addAction(QStringLiteral("Add current dir"));
    addCurrent->setObjectName(QStringLiteral("PopAddCurrDortoFav"));
    addCurrent->setStatusTip(QStringLiteral("Add current directory to the Favorites menu"));
    QAction *configure = favoritesMenu->addAction(QStringLiteral("Configure..."));
    configure->setObjectName(QStringLiteral("PopConfigFav"));
    configure->setStatusTip(QStringLiteral("Configure Favorites menu"));
    favorites->setMenu(favoritesMenu);
    if (auto *button = qobject_cast<QToolButton *>(general->widgetForAction(favorites)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    general->addSeparator();
    addButton(general, QStringLiteral("BtnPreview"), QStringLiteral("textsample"), QStringLiteral("Text Sample|Preview sample text in the selected font"),
              [this] { FontPreview2Click(); }, true)->setChecked(true);
    addButton(general, QStringLiteral("BtnCharmap"), QStringLiteral("charmap"), QStringLiteral("Characters Map|View characters map for the current font"),
              [this] { CharMap2Click(); }, true);
    addButton(general, QStringLiteral("BtnReport"), QStringLiteral("report"), QStringLiteral("Report|View report for the current font"),
              [this] { Report2Click(); }, true);
    general->addSeparator();
    addButton(general, QStringLiteral("BtnContig"), QStringLiteral("options"), QStringLiteral("Options|Glyvanta options"), forward(QStringLiteral("Config1")));
    general->addSeparator();
    addButton(general, QStringLiteral("BtnHelp"), QStringLiteral("help"), QStringLiteral("Help contents|Glyvanta help"), forward(QStringLiteral("Contents1")));
    addButton(general, QStringLiteral("BtnAbout"), QStringLiteral("about"), QStringLiteral("About|About Glyvanta"), forward(QStringLiteral("About1")));

    QToolBar *charset = makeBar(QStringLiteral("ToolBarCharest"), QStringLiteral("Charset"));
    m_controls.SelectCharset = named(new QComboBox(charset), QStringLiteral("SelectCharset"));
    m_controls.SelectCharset->setMinimumWidth(150);
    setHint(m_controls.SelectCharset, QStringLiteral("|Charset selection"));
    charset->addWidget(m_controls.SelectCharset);

    addToolBarBreak();

    QToolBar *preview = makeBar(QStringLiteral("ToolBarPreview"), QStringLiteral("Preview"));
    addButton(preview, QStringLiteral("BtnLoadText"), QStringLiteral("loadtext"), QStringLiteral("Load text|Load a text for font preview"), forward(QStringLiteral("LoadText1")));
    addButton(preview, QStringLiteral("BtnClear"), QStringLiteral("clear"), QStringLiteral("Clear|Clear the font preview text"), forward(QStringLiteral("Clear1")));
    preview->addSeparator();
    addButton(preview, QStringLiteral("BtnCut"), QStringLiteral("cut"), QStringLiteral("Cut|Cut text to clipboard"), forward(QStringLiteral("Cut1")));
    addButton(preview, QStringLiteral("BtnCopy"), QStringLiteral("copy"), QStringLiteral("Copy|Copy text to clipboard"), forward(QStringLiteral("Copy2")));
    addButton(preview, QStringLiteral("BtnPaste"), QStringLiteral("paste"), QStringLiteral("Paste|Paste text from clipboard"), forward(QStringLiteral("Paste1")));

    QToolBar *format = makeBar(QStringLiteral("ToolBarFormat"), QStringLiteral("Format"));
    m_controls.FontSize = named(new QSpinBox(format), QStringLiteral("FontSize"));
    m_controls.FontSize->setRange(1, 75);
    m_controls.FontSize->setValue(12);
    setHint(m_controls.FontSize, QStringLiteral("Font Size|Current preview font size"));
    format->addWidget(m_controls.FontSize);
    format->addSeparator();
    addButton(format, QStringLiteral("BtnBold"), QStringLiteral("bold"), QStringLiteral("Bold|Bolder text"), forward(QStringLiteral("Bold1")), true);
    addButton(format, QStringLiteral("BtnItalic"), QStringLiteral("italic"), QStringLiteral("Italic|Italic text"), forward(QStringLiteral("Italic1")), true);
    addButton(format, QStringLiteral("BtnUnderline"), QStringLiteral("underline"), QStringLiteral("Underline|Undelined text"), forward(QStringLiteral("Underline1")), true);
    format->addSeparator();
    addButton(format, QStringLiteral("BtnColor"), QStringLiteral("color"), QStringLiteral("Font Color|The color of font"), forward(QStringLiteral("Color")));
    format->addSeparator();
    auto *alignment = new QActionGroup(this);
    for (const auto &[name, icon, hint] : {std::tuple{"BtnLeft", "alignleft", "Left align|Align text by left side"},
                                           std::tuple{"BtnCenter", "aligncenter", "Center align|Align text by center"},
                                           std::tuple{"BtnRight", "alignright", "Right align|Align text by right side"}}) {
        QAction *a = addButton(format, QString::fromLatin1(name), QString::fromLatin1(icon), QString::fromLatin1(hint), {}, true);
        alignment->addAction(a);
    }
    action(QStringLiteral("BtnLeft"))->setChecked(true);

    QToolBar *character = makeBar(QStringLiteral("ToolBarCharacter"), QStringLiteral("Character"));
    addButton(character, QStringLiteral("BtnCopyChar"), QStringLiteral("copychar"), QStringLiteral("Copy symbol|Copy current symbol to clipboard"), forward(QStringLiteral("Copy1")));
    addButton(character, QStringLiteral("BtnAddToCharBuff"), QStringLiteral("tobuffer"), QStringLiteral("To buffer|Copy the current symbol to buffer"), forward(QStringLiteral("CopyBuff1")));
    character->addSeparator();
    m_controls.CopyBuff = named(new QLineEdit(character), QStringLiteral("CopyBuff"));
    m_controls.CopyBuff->setFixedWidth(120);
    setHint(m_controls.CopyBuff, QStringLiteral("Characters to copy"));
    character->addWidget(m_controls.CopyBuff);
    addButton(character, QStringLiteral("BtnCopyBuff"), QStringLiteral("copybuffer"), QStringLiteral("Copy buffer|Copy the buffer to clipboard"), forward(QStringLiteral("BuffToClipboard1")));
    addButton(character, QStringLiteral("BtnCharPreview"), QStringLiteral("charpreview"), QStringLiteral("Extended preview|Extended symbol preview"), forward(QStringLiteral("CharPreview2")), true)->setChecked(true);
    character->addSeparator();
    addButton(character, QStringLiteral("BtnGotoLetter"), QStringLiteral("goto"), QStringLiteral("Go to|Go to a symbol"), forward(QStringLiteral("GoTo1")));
}

void TFormPreview::buildNavigation(QWidget *box)
{
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    m_panelDriveBrowse = named(new QWidget(box), QStringLiteral("PanelDriveBrowse"));
    auto *driveLayout = new QHBoxLayout(m_panelDriveBrowse);
    driveLayout->setContentsMargins(0, 0, 0, 0);
    driveLayout->setSpacing(2);
    m_controls.DisksBrowse = named(new QComboBox(m_panelDriveBrowse), QStringLiteral("DisksBrowse"));
    m_controls.DisksBrowse->setStatusTip(QStringLiteral("Current drive selection"));
    m_controls.DisksBrowse->addItem(QStringLiteral("Fonts"));
    driveLayout->addWidget(m_controls.DisksBrowse, 1);
    m_panelViewStyleButtons = named(new QWidget(m_panelDriveBrowse), QStringLiteral("PanelViewStyleButtonsPanel"));
    auto *styleLayout = new QHBoxLayout(m_panelViewStyleButtons);
    styleLayout->setContentsMargins(0, 0, 0, 0);
    styleLayout->setSpacing(0);
    const std::tuple<const char *, const char *, const char *> styles[] = {
        {"ButtonvsIcons", "viewicons", "Large icons view"},
        {"ButtonvsSmallIcon", "viewsmall", "Small icons view"},
        {"ButtonvsList", "viewlist", "List view"},
        {"ButtonvsReport", "viewreport", "Report view"}};
    for (int i = 0; i < 4; ++i) {
        const auto &[name, icon, hint] = styles[i];
        auto *button = named(new QToolButton(m_panelViewStyleButtons), QString::fromLatin1(name));
        button->setIcon(Icons::get(QString::fromLatin1(icon)));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setAutoRaise(true);
        button->setStatusTip(QString::fromLatin1(hint));
        button->setToolTip(QString::fromLatin1(hint));
        button->setChecked(i == 0);
        connect(button, &QToolButton::clicked, this, [this, i] { guarded([&] { m_folderBrowser->setViewStyle(i); }); });
        styleLayout->addWidget(button);
    }
    driveLayout->addWidget(m_panelViewStyleButtons);
    layout->addWidget(m_panelDriveBrowse);

    auto *panelFilePath = named(new QWidget(box), QStringLiteral("PanelFilePath"));
    auto *pathLayout = new QHBoxLayout(panelFilePath);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.EditFileName = named(new QLineEdit(panelFilePath), QStringLiteral("EditFileName"));
    m_controls.EditFileName->setFrame(false);
    QFont bold = m_controls.EditFileName->font();
    bold.setBold(true);
    m_controls.EditFileName->setFont(bold);
    m_controls.EditFileName->setFocusPolicy(Qt::ClickFocus);
    QPalette pathPalette = m_controls.EditFileName->palette();
    pathPalette.setColor(QPalette::Base, pathPalette.color(QPalette::Highlight));
    pathPalette.setColor(QPalette::Text, Qt::black);
    m_controls.EditFileName->setPalette(pathPalette);
    pathLayout->addWidget(m_controls.EditFileName);
    layout->addWidget(panelFilePath);

    const std::vector<QIcon> images = Icons::fileImages();
    auto makeList = [&](const QString &name, const QString &statusHint) {
        auto *list = named(new ListView(box), name);
        list->setImages(images);
        list->setStatusTip(statusHint);
        layout->addWidget(list, 1);
        return list;
    };
    m_controls.FilesBrowse = makeList(QStringLiteral("FilesBrowse"), QStringLiteral("Files navigation"));
    m_controls.FilesBrowse->setColumns({{QStringLiteral("Name"), 215, 300}, {QStringLiteral("Extention"), 37, 50}});
    m_controls.FontsList = makeList(QStringLiteral("FontsList"), QStringLiteral("Fonts"));
    std::vector<ListView::Column> fontColumns;
    for (const InstalledFontColumn &c : kInstalledFontColumns)
        fontColumns.push_back({QString::fromLatin1(c.header), c.width, c.maxWidth});
    m_controls.FontsList->setColumns(fontColumns);
    m_controls.ZipBrowse = makeList(QStringLiteral("ZipBrowse"), QString());
    m_controls.ZipBrowse->setColumns({{QStringLiteral("Name"), 215, 300}, {QStringLiteral("Extention"), 37, 50}});
    m_controls.PanelSelectExt = named(new QWidget(box), QStringLiteral("PanelSelectExt"));
    auto *extLayout = new QHBoxLayout(m_controls.PanelSelectExt);
    extLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.SelectExt = named(new QComboBox(m_controls.PanelSelectExt), QStringLiteral("SelectExt"));
    m_controls.SelectExt->addItems({QStringLiteral("TrueType  (*.ttf)"), QStringLiteral("Raster (*.fon)"), QStringLiteral("Font files (*.ttf;*.fon)")});
    m_controls.SelectExt->setStatusTip(QStringLiteral("Extentions filter"));
    extLayout->addWidget(m_controls.SelectExt);
    layout->addWidget(m_controls.PanelSelectExt);
}

void TFormPreview::buildPages()
{
    auto *tabs = named(new QTabWidget(m_mainSplitter), QStringLiteral("TabsPreviewModes"));
    m_controls.TabsPreviewModes = tabs;
    tabs->setDocumentMode(true);
    tabs->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid palette(mid); border-radius: 3px; padding: 3px 10px; margin: 2px 2px 4px 0; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(midlight); border-color: palette(dark); }"));
    connect(tabs, &QTabWidget::tabBarClicked, this, [this](int index) {
        guarded([&] {
            m_controls.TabsPreviewModes->setCurrentIndex(index);
            TabsPreviewModesChange();
        });
    });

    auto *sheetFontPreview = named(new QWidget(tabs), QStringLiteral("SheetFontPreview"));
    auto *previewLayout = new QVBoxLayout(sheetFontPreview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.Preview = named(new QPlainTextEdit(sheetFontPreview), QStringLiteral("Preview"));
    setHint(m_controls.Preview, QStringLiteral("|Preview text by the current font"));
    previewLayout->addWidget(m_controls.Preview);
    tabs->addTab(sheetFontPreview, Icons::get(QStringLiteral("textsample")), QStringLiteral("Text Sample"));

    auto *sheetCharMap = named(new QWidget(tabs), QStringLiteral("SheetCharMap"));
    auto *mapLayout = new QHBoxLayout(sheetCharMap);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.CharactersPreview = named(new QTableWidget(1, 1, sheetCharMap), QStringLiteral("CharactersPreview"));
    m_controls.CharactersPreview->horizontalHeader()->hide();
    m_controls.CharactersPreview->verticalHeader()->hide();
    m_controls.CharactersPreview->horizontalHeader()->setMinimumSectionSize(1);
    m_controls.CharactersPreview->verticalHeader()->setMinimumSectionSize(1);
    m_controls.CharactersPreview->horizontalHeader()->setDefaultSectionSize(20);
    m_controls.CharactersPreview->verticalHeader()->setDefaultSectionSize(30);
    m_controls.CharactersPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_controls.CharactersPreview->setSelectionMode(QAbstractItemView::SingleSelection);
    setHint(m_controls.CharactersPreview, QStringLiteral("|Preview characters map for the current font"));
    mapLayout->addWidget(m_controls.CharactersPreview, 1);

    auto *symbolGroup = named(new QGroupBox(QStringLiteral("Symbol"), sheetCharMap), QStringLiteral("SymbolGroup"));
    m_controls.SymbolGroup = symbolGroup;
    symbolGroup->setFixedWidth(160);
    auto *symbolLayout = new QVBoxLayout(symbolGroup);
    symbolLayout->setContentsMargins(6, 6, 6, 6);
    m_controls.PanelSymbol = named(new QWidget(symbolGroup), QStringLiteral("PanelSymbol"));
    auto *panelSymbolLayout = new QVBoxLayout(m_controls.PanelSymbol);
    panelSymbolLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.SymbolPreview = named(new QLabel(m_controls.PanelSymbol), QStringLiteral("SymbolPreview"));
    m_controls.SymbolPreview->setMinimumWidth(40);
    m_controls.SymbolPreview->setAlignment(Qt::AlignCenter);
    m_controls.SymbolPreview->setAutoFillBackground(true);
    m_controls.SymbolPreview->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; border: 1px solid gray; }"));
    m_controls.SymbolPreview->setFixedHeight(120);
    m_controls.SymbolPreview->setTextFormat(Qt::PlainText);
    QFont symbolFont = m_controls.SymbolPreview->font();
    symbolFont.setPixelSize(90);
    m_controls.SymbolPreview->setFont(symbolFont);
    setHint(m_controls.SymbolPreview, QStringLiteral("|Large preview for the current symbol"));
    panelSymbolLayout->addWidget(m_controls.SymbolPreview);
    symbolLayout->addWidget(m_controls.PanelSymbol);

    m_controls.PanelANSICode = named(new QWidget(symbolGroup), QStringLiteral("PanelANSICode"));
    auto *codeLayout = new QGridLayout(m_controls.PanelANSICode);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->addWidget(new QLabel(QStringLiteral("ANSI code:"), m_controls.PanelANSICode), 0, 0, 1, 2);
    m_controls.AsciiDec = named(new QRadioButton(QStringLiteral("Dec"), m_controls.PanelANSICode), QStringLiteral("AsciiDec"));
    m_controls.AcsiiHex = named(new QRadioButton(QStringLiteral("Hex"), m_controls.PanelANSICode), QStringLiteral("AcsiiHex"));
    m_controls.AsciiDec->setChecked(true);
    setHint(m_controls.AsciiDec, QStringLiteral("|Decimial format"));
    setHint(m_controls.AcsiiHex, QStringLiteral("|Hex format (for advenced users)"));
    codeLayout->addWidget(m_controls.AsciiDec, 1, 0);
    codeLayout->addWidget(m_controls.AcsiiHex, 1, 1);
    m_controls.AsciiCode = named(new QLineEdit(m_controls.PanelANSICode), QStringLiteral("AsciiCode"));
    m_controls.AsciiCode->setReadOnly(true);
    setHint(m_controls.AsciiCode, QStringLiteral("|ANSI code for current symbol"));
    codeLayout->addWidget(m_controls.AsciiCode, 2, 0, 1, 2);
    symbolLayout->addWidget(m_controls.PanelANSICode);

    m_controls.PanelSymbolSearch = named(new QWidget(symbolGroup), QStringLiteral("PanelSymbolSearch"));
    auto *searchLayout = new QHBoxLayout(m_controls.PanelSymbolSearch);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(new QLabel(QStringLiteral("Symbol:"), m_controls.PanelSymbolSearch));
    m_controls.OriginalLetter = named(new QLineEdit(m_controls.PanelSymbolSearch), QStringLiteral("OriginalLetter"));
    m_controls.OriginalLetter->setReadOnly(true);
    setHint(m_controls.OriginalLetter, QStringLiteral("|Current symbol"));
    searchLayout->addWidget(m_controls.OriginalLetter);
    symbolLayout->addWidget(m_controls.PanelSymbolSearch);

    m_controls.GroupBoxGoTo = named(new QGroupBox(QStringLiteral("Go to"), symbolGroup), QStringLiteral("GroupBoxGoTo"));
    auto *goLayout = new QGridLayout(m_controls.GroupBoxGoTo);
    // Narrow margins, so that both radio captions fit the fixed-width panel.
    goLayout->setContentsMargins(4, 4, 4, 4);
    goLayout->setHorizontalSpacing(2);
    goLayout->addWidget(new QLabel(QStringLiteral("Go to:"), m_controls.GroupBoxGoTo), 0, 0);
    m_controls.GoTo = named(new QLineEdit(m_controls.GroupBoxGoTo), QStringLiteral("GoTo"));
    setHint(m_controls.GoTo, QStringLiteral("|Object to go"));
    goLayout->addWidget(m_controls.GoTo, 0, 1);
    m_controls.GoToCode = named(new QRadioButton(QStringLiteral("Code"), m_controls.GroupBoxGoTo), QStringLiteral("GoToCode"));
    m_controls.GoToSymbol = named(new QRadioButton(QStringLiteral("Symbol"), m_controls.GroupBoxGoTo), QStringLiteral("GoToSymbol"));
    m_controls.GoToCode->setChecked(true);
    setHint(m_controls.GoToCode, QStringLiteral("|Go to symbol with this ANSI code"));
    setHint(m_controls.GoToSymbol, QStringLiteral("|Go to this symbol"));
    goLayout->addWidget(m_controls.GoToCode, 1, 0);
    goLayout->addWidget(m_controls.GoToSymbol, 1, 1);
    m_controls.GoStart = named(new QPushButton(QStringLiteral("Go"), m_controls.GroupBoxGoTo), QStringLiteral("GoStart"));
    setHint(m_controls.GoStart, QStringLiteral("|Go to this object"));
    goLayout->addWidget(m_controls.GoStart, 2, 0, 1, 2);
    symbolLayout->addWidget(m_controls.GroupBoxGoTo);
    symbolLayout->addStretch();
    mapLayout->addWidget(symbolGroup);
    tabs->addTab(sheetCharMap, Icons::get(QStringLiteral("charmap")), QStringLiteral("Characters map"));

    auto *sheetReport = named(new QWidget(tabs), QStringLiteral("SheetReport"));
    auto *reportLayout = new QVBoxLayout(sheetReport);
    reportLayout->setContentsMargins(0, 0, 0, 0);
    m_controls.ReportEdit = named(new QTextEdit(sheetReport), QStringLiteral("ReportEdit"));
    m_controls.ReportEdit->setReadOnly(true);
    setHint(m_controls.ReportEdit, QStringLiteral("|Information about the current font"));
    reportLayout->addWidget(m_controls.ReportEdit);
    tabs->addTab(sheetReport, Icons::get(QStringLiteral("report")), QStringLiteral("Report"));
}

void TFormPreview::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    const int widths[4] = {360, 100, 70, 75};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        m_controls.StatusPanels[static_cast<size_t>(i)] = panel;
        bar->addWidget(panel);
    }
    m_controls.StatusPanels[1]->setText(QStringLiteral("Default font"));
}

bool TFormPreview::event(QEvent *event)
{
    // The long part of a hint goes to panel 0.
    if (event->type() == QEvent::StatusTip) {
        if (m_controls.StatusPanels[0])
            m_controls.StatusPanels[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFormPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.EditFileName) {
        if (event->type() == QEvent::MouseButtonPress)
            guarded([&] { m_folderBrowser->EditFileNameMouseDown(); });
        else if (event->type() == QEvent::FocusOut)
            guarded([&] { m_folderBrowser->EditFileNameExit(); });
        else if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                guarded([&] { m_folderBrowser->EditFileNameKeyPress(QChar(13)); });
                return true;
            }
        }
    }
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->isAmbiguous()) {
            if (auto *a = qobject_cast<QAction *>(watched)) {
                resolveAmbiguousShortcut(a);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Ctrl+B (Bold and Copy buffer) and Ctrl+S (Options and Save as) are shared: the item of the
// mode's own menu takes the key.
void TFormPreview::resolveAmbiguousShortcut(QAction *pressed)
{
    const QKeySequence key = pressed->shortcut();
    QList<QAction *> candidates;
    for (QAction *a : findChildren<QAction *>())
        if (a->isEnabled() && a->shortcut() == key)
            candidates << a;
    static const QStringList preferred = {QStringLiteral("BuffToClipboard1"), QStringLiteral("SaveAs1"), QStringLiteral("Copy1")};
    for (QAction *a : candidates) {
        if (preferred.contains(a->objectName())) {
            a->trigger();
            return;
        }
    }
    if (!candidates.isEmpty())
        candidates.constFirst()->trigger();
}

void TFormPreview::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        guarded([&] { FormShow(); });
    }
}

void TFormPreview::FormShow()
{
    TabsPreviewModesChange();
    m_controls.SelectExt->setCurrentIndex(2);
    m_installedFonts->BuildInstalledFontFiles();
    m_installedFonts->FillInstalledFontsList();

    // A store that cannot be read is told, and start-up goes on with what was loaded: the
    // window must still list, preview and keep its commands current.
    guarded([&] {
        m_settings->LoadSettings(true);
        m_settings->ApplyOptions();
    });
    if (m_state.StartFolder.isEmpty())
        m_state.StartFolder = QStringLiteral("fonts");
    m_state.FontsListReady = false;

    const QString fontArgument = m_arguments.value(0);
    if (!fontArgument.isEmpty()) {
        loadFontFromPath(QFileInfo(fontArgument).absoluteFilePath());
        if (m_arguments.value(1) == QLatin1String("install"))
            m_installer->installFromCommandLine(QFileInfo(fontArgument).absoluteFilePath());
        // The menus are there whichever way the program starts.
        m_userMenus->RebuildUserMenus();
    } else {
        if (m_state.StartFolder == QLatin1String("fonts"))
            m_folderBrowser->RebuildDriveList(QStringLiteral("fonts"));
        else
            m_folderBrowser->ListFolder(m_state.StartFolder);
        m_state.CurrentFolder = m_state.StartFolder;
        setFaceName(m_controls.Preview, QStringLiteral("Times New Roman"), m_services.catalogue);
        m_userMenus->RebuildUserMenus();
        Refresh1Click();
    }

    m_controls.ZipBrowse->setCollapsed(true);
    if (m_controls.DisksBrowse->currentIndex() != m_controls.DisksBrowse->count() - 1) {
        m_folderBrowser->showFolderView();
    } else {
        m_folderBrowser->showFontsView();
        m_controls.Install1->setEnabled(false);
        m_controls.BtnInst->setEnabled(false);
        m_controls.Uninstall1->setEnabled(true);
        m_controls.BtnUninst->setEnabled(true);
    }
    m_state.FontsListReady = true;
    m_state.StartupTipPending = true;
    QCoreApplication::processEvents();
    m_sysTimer->start();
}

int TFormPreview::activeView() const
{
    if (!m_controls.FilesBrowse->collapsed())
        return 0;
    if (!m_controls.FontsList->collapsed())
        return 1;
    return 2;
}

void TFormPreview::Refresh1Click()
{
    m_folderBrowser->Refresh1Click();
}

void TFormPreview::FontPreview2Click()
{
    m_controls.TabsPreviewModes->setCurrentIndex(0);
    TabsPreviewModesChange();
}

void TFormPreview::CharMap2Click()
{
    m_controls.TabsPreviewModes->setCurrentIndex(1);
    TabsPreviewModesChange();
}

void TFormPreview::Report2Click()
{
    m_controls.TabsPreviewModes->setCurrentIndex(2);
    TabsPreviewModesChange();
}

void TFormPreview::TabsPreviewModesChange()
{
    const int mode = m_controls.TabsPreviewModes->currentIndex();
    const QStringList previewButtons = {QStringLiteral("BtnLoadText"), QStringLiteral("BtnClear"), QStringLiteral("BtnCut"),
                                        QStringLiteral("BtnCopy"), QStringLiteral("BtnPaste")};
    const QStringList characterButtons = {QStringLiteral("BtnCopyChar"), QStringLiteral("BtnAddToCharBuff"), QStringLiteral("BtnCopyBuff"),
                                          QStringLiteral("BtnCharPreview"), QStringLiteral("BtnGotoLetter")};
    const QStringList formatButtons = {QStringLiteral("BtnBold"), QStringLiteral("BtnItalic"), QStringLiteral("BtnUnderline"),
                                       QStringLiteral("BtnColor"), QStringLiteral("BtnLeft"), QStringLiteral("BtnCenter"), QStringLiteral("BtnRight")};
    auto setButtons = [this](const QStringList &names, bool enabled) {
        for (const QString &name : names)
            action(name)->setEnabled(enabled);
    };
    QAction *previewMenu = menu(QStringLiteral("Preview1"))->menuAction();
    QAction *formatMenu = menu(QStringLiteral("Format1"))->menuAction();
    QAction *symbolMenu = menu(QStringLiteral("Symbol1"))->menuAction();
    QAction *reportMenu = menu(QStringLiteral("Report1"))->menuAction();
    const QString viewItems[3] = {QStringLiteral("FontPreview2"), QStringLiteral("CharMap2"), QStringLiteral("Report2")};
    const QString viewButtons[3] = {QStringLiteral("BtnPreview"), QStringLiteral("BtnCharmap"), QStringLiteral("BtnReport")};
    for (int i = 0; i < 3; ++i) {
        action(viewItems[i])->setChecked(i == mode);
        action(viewButtons[i])->setChecked(i == mode);
    }

    switch (mode) {
    case 0:
        EnableMenuTree(previewMenu);
        EnableMenuTree(formatMenu);
        DisableMenuTree(symbolMenu);
        DisableMenuTree(reportMenu);
        setButtons(previewButtons, true);
        setButtons(formatButtons, true);
        m_controls.FontSize->setEnabled(true);
        setButtons(characterButtons, false);
        break;
    case 1:
        EnableMenuTree(symbolMenu);
        EnableMenuTree(formatMenu);
        DisableMenuTree(previewMenu);
        DisableMenuTree(reportMenu);
        setButtons(characterButtons, true);
        setButtons(formatButtons, true);
        m_controls.FontSize->setEnabled(true);
        setButtons(previewButtons, false);
        FormResize();
        break;
    default:
        EnableMenuTree(reportMenu);
        DisableMenuTree(formatMenu);
        DisableMenuTree(symbolMenu);
        DisableMenuTree(previewMenu);
        setButtons(characterButtons, false);
        setButtons(formatButtons, false);
        m_controls.FontSize->setEnabled(false);
        // Rebuild the report for what is selected.
        if (!m_controls.FontsList->collapsed() && m_controls.FontsList->selectedRow() >= 0) {
            const int row = m_controls.FontsList->selectedRow();
            emit m_controls.FontsList->selectItem(row, true);
        } else if (m_controls.FilesBrowse->selectedRow() >= 0) {
            emit m_controls.FilesBrowse->selectItem(m_controls.FilesBrowse->selectedRow(), true);
        } else if (m_controls.ZipBrowse->selectedRow() >= 0) {
            emit m_controls.ZipBrowse->selectItem(m_controls.ZipBrowse->selectedRow(), true);
        }
        break;
    }
}

void TFormPreview::SysTimerTimer()
{
    if (m_state.StartupTipPending && FormTip->ShowStartupTips->isChecked() && !FormTip->isVisible()) {
        m_state.StartupTipPending = false;
        guarded([&] { showTipOfTheDay(); });
    }
    const int mode = m_controls.TabsPreviewModes->currentIndex();
    const bool paste = Desktop::clipboardHasText() && mode == 0;
    action(QStringLiteral("Paste1"))->setEnabled(paste);
    action(QStringLiteral("BtnPaste"))->setEnabled(paste);

    const bool copyBuffer = !m_controls.CopyBuff->text().isEmpty();
    action(QStringLiteral("BuffToClipboard1"))->setEnabled(copyBuffer);
    action(QStringLiteral("BtnCopyBuff"))->setEnabled(copyBuffer);

    m_controls.SelectCharset->setEnabled(m_controls.SelectCharset->count() > 0);

    const int fileRow = m_controls.FilesBrowse->selectedRow();
    const bool install = !m_controls.FilesBrowse->collapsed() && fileRow >= 0
        && m_controls.FilesBrowse->item(fileRow).subItems.value(0) != QLatin1String(" ");
    m_controls.Install1->setEnabled(install);
    m_controls.BtnInst->setEnabled(install);

    const int fontRow = m_controls.FontsList->selectedRow();
    const bool uninstall = fontRow >= 0 && !m_controls.FontsList->collapsed()
        && m_controls.FontsList->item(fontRow).subItems.value(9) != QLatin1String("Unknown");
    m_controls.Uninstall1->setEnabled(uninstall);
    m_controls.BtnUninst->setEnabled(uninstall);

    setWindowTitle(kCaption);
}

void TFormPreview::FormResize()
{
    if (m_characterMap)
        m_characterMap->FormResize();
}

void TFormPreview::connectToggle(const QString &item, std::function<void()> handler)
{
    QAction *a = action(item);
    connect(a, &QAction::triggered, this, [this, a, handler] {
        // The action has already flipped its check mark; the handler flips it as the command does.
        a->setChecked(!a->isChecked());
        guarded(handler);
    });
}

void TFormPreview::connectHandlers()
{
    auto on = [this](const QString &name, std::function<void()> handler) { connectGuarded(action(name), std::move(handler)); };
    on(QStringLiteral("Open1"), [this] { Open1Click(); });
    on(QStringLiteral("LoadText1"), [this] { m_textSample->LoadText1Click(); });
    on(QStringLiteral("Clear1"), [this] { m_textSample->Clear1Click(); });
    on(QStringLiteral("Cut1"), [this] { m_textSample->Cut1Click(); });
    on(QStringLiteral("Copy2"), [this] { m_textSample->Copy2Click(); });
    on(QStringLiteral("Paste1"), [this] { m_textSample->Paste1Click(); });
    on(QStringLiteral("Color"), [this] { m_textSample->ColorClick(); });
    on(QStringLiteral("Config1"), [this] { Config1Click(); });
    on(QStringLiteral("TipOfTheDay"), [this] { TipOfTheDayClick(); });
    connect(FormTip, &TFormTip::nextTipRequested, this, [this] { guarded([&] { NextTipClick(); }); });
    on(QStringLiteral("About1"), [this] { m_services.prompter.runDialog(*FormAbout); });
    on(QStringLiteral("Contents1"), [this] {
        Desktop::open(QUrl::fromLocalFile(m_services.paths.helpPage()));
    });
    on(QStringLiteral("Website1"), [] { Desktop::open(QUrl(QStringLiteral("https://glyvanta.example.org/?item=website"))); });
    on(QStringLiteral("FontsWebResources1"), [] {
        Desktop::open(QUrl(QStringLiteral("https://glyvanta.example.org/fonts/?item=fontswebresources")));
    });
    const std::tuple<const char *, const char *, TextSample::Style> styles[] = {
        {"Bold1", "BtnBold", TextSample::Bold}, {"Italic1", "BtnItalic", TextSample::Italic},
        {"Underline1", "BtnUnderline", TextSample::Underline}, {"StrikeOut1", nullptr, TextSample::StrikeOut}};
    for (const auto &[item, button, style] : styles) {
        QAction *menuItem = action(QString::fromLatin1(item));
        QAction *buttonAction = button ? action(QString::fromLatin1(button)) : nullptr;
        const TextSample::Style s = style;
        connectToggle(QString::fromLatin1(item), [this, menuItem, buttonAction, s] { m_textSample->toggleStyle(menuItem, buttonAction, s); });
    }
    connect(m_controls.FontSize, &QSpinBox::valueChanged, this, [this](int size) { guarded([&] { m_textSample->FontSizeChange(size); }); });
    on(QStringLiteral("BtnLeft"), [this] { m_textSample->setAlignment(Qt::AlignLeft); });
    on(QStringLiteral("BtnCenter"), [this] { m_textSample->setAlignment(Qt::AlignHCenter); });
    on(QStringLiteral("BtnRight"), [this] { m_textSample->setAlignment(Qt::AlignRight); });

    on(QStringLiteral("Copy1"), [this] { m_characterMap->Copy1Click(); });
    on(QStringLiteral("CopyBuff1"), [this] { m_characterMap->CopyBuff1Click(); });
    on(QStringLiteral("BuffToClipboard1"), [this] { m_characterMap->BuffToClipboard1Click(); });
    connectToggle(QStringLiteral("CharPreview2"), [this] { m_characterMap->CharPreview2Click(); });
    on(QStringLiteral("GoTo1"), [this] { m_characterMap->GoTo1Click(*FormGoTo); });
    QTableWidget *grid = m_controls.CharactersPreview;
    connect(grid, &QTableWidget::currentCellChanged, this, [this] { guarded([&] { m_characterMap->CharactersPreviewClick(); }); });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { guarded([&] { m_characterMap->CopyBuff1Click(); }); });
    for (QRadioButton *radio : {m_controls.AsciiDec, m_controls.AcsiiHex})
        connect(radio, &QRadioButton::clicked, this, [this] { guarded([&] { m_characterMap->CharactersPreviewClick(); }); });
    connect(m_controls.GoStart, &QPushButton::clicked, this, [this] { guarded([&] { m_characterMap->GoStartClick(); }); });
    connect(m_controls.GoTo, &QLineEdit::returnPressed, this, [this] { guarded([&] { m_characterMap->GoStartClick(); }); });
    connect(m_controls.SelectCharset, &QComboBox::activated, this, [this] { guarded([&] { m_characterMap->SelectCharsetChange(); }); });

    on(QStringLiteral("SaveAs1"), [this] { m_report->SaveAs1Click(); });
    on(QStringLiteral("Install1"), [this] { m_installer->Install1Click(); });
    on(QStringLiteral("Uninstall1"), [this] { m_installer->Uninstall1Click(); });
    on(QStringLiteral("CopyTo"), [this] { m_fileOperations->PopCopyToClick(); });
    on(QStringLiteral("MoveTo"), [this] { m_fileOperations->PopMoveToClick(); });
    on(QStringLiteral("Delete"), [this] { m_fileOperations->PopDeleteClick(); });
    on(QStringLiteral("FileProperties"), [this] { m_fileOperations->PopFilePropertiesClick(); });
    connect(menu(QStringLiteral("File1")), &QMenu::aboutToShow, this, [this] { guarded([&] { m_fileOperations->File1Click(); }); });
    connect(m_controls.DisksBrowse, &QComboBox::activated, this, [this] { guarded([&] { m_folderBrowser->DisksBrowseChange(); }); });
    connect(m_controls.SelectExt, &QComboBox::activated, this, [this] { guarded([&] { m_folderBrowser->SelectExtChange(); }); });
    ListView *files = m_controls.FilesBrowse;
    connect(files, &ListView::selectItem, this, [this](int row, bool selected) { guarded([&] { m_folderBrowser->FilesBrowseSelectItem(row, selected); }); });
    connect(files, &ListView::dblClick, this, [this] { guarded([&] { m_folderBrowser->FilesBrowseDblClick(); }); });
    connect(files, &ListView::keyPress, this, [this](QChar key) { guarded([&] { m_folderBrowser->FilesBrowseKeyPress(key); }); });
    connect(files, &ListView::itemDropped, this, [this](int from, int to) { guarded([&] { m_fileOperations->FilesBrowseDragDrop(from, to); }); });
    connect(files, &ListView::contextMenu, this, [this](const QPoint &at) {
        guarded([&] { m_fileOperations->PopupFilesBrowsePopup(); });
        m_popupFilesBrowse->popup(at);
    });
    m_controls.EditFileName->installEventFilter(this);
    on(QStringLiteral("Unpack"), [this] { m_archiveBrowser->PopZipUnpackClick(); });
    on(QStringLiteral("PopAddCurrDortoFav"), [this] { m_userMenus->PopAddCurrDortoFavClick(); });
    on(QStringLiteral("BtnFavorites"), [this] { m_userMenus->PopAddCurrDortoFavClick(); });
    on(QStringLiteral("PopConfigFav"), [this] { m_userMenus->PopConfigFavClick(); });
    on(QStringLiteral("Configure1"), [this] { m_userMenus->Configure1Click(); });
    on(QStringLiteral("UnpackHere"), [this] { m_archiveBrowser->PopZipUnpackHereClick(); });
    ListView *zip = m_controls.ZipBrowse;
    connect(zip, &ListView::selectItem, this, [this](int row, bool selected) { guarded([&] { m_archiveBrowser->PreviewArchiveEntry(row, selected); }); });
    connect(zip, &ListView::dblClick, this, [this] { guarded([&] { m_archiveBrowser->CloseArchive(); }); });
    connect(zip, &ListView::keyPress, this, [this](QChar key) { guarded([&] { m_archiveBrowser->ZipBrowseKeyPress(key); }); });
    connect(zip, &ListView::contextMenu, this, [this](const QPoint &at) {
        guarded([&] { m_archiveBrowser->PopupZipBrowsePopup(); });
        m_popupZipBrowse->popup(at);
    });
    connect(m_controls.FontsList, &ListView::selectItem, this, [this](int row, bool selected) {
        guarded([&] { m_report->FontsListSelectItem(row, selected); });
    });
}

void TFormPreview::Config1Click()
{
    m_settings->LoadSettings(false);
    if (m_services.prompter.runDialog(*FormConfig) != ModalResult::Ok)
        return;
    m_settings->ApplyOptions();
    m_settings->SaveSettings(true);
}

void TFormPreview::showTipOfTheDay()
{
    static std::mt19937 generator;
    generator.seed(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    m_state.TipCount = StrToInt(m_favoritesIni->readString(QStringLiteral("Tips"), QStringLiteral("Count"), QStringLiteral("1")));
    const int index = firstTipIndex(m_state.TipCount, generator());
    FormTip->showTip(index, m_favoritesIni->readString(QStringLiteral("Tips"), QString::number(index), QStringLiteral("Thank you for choosing Glyvanta")));
    m_services.prompter.runDialog(*FormTip);
}

void TFormPreview::NextTipClick()
{
    const int index = nextTipIndex(FormTip->tipIndex(), m_state.TipCount);
    FormTip->showTip(index, m_favoritesIni->readString(QStringLiteral("Tips"), QString::number(index), QStringLiteral("Thank you for choosing Glyvanta")));
}

void TFormPreview::TipOfTheDayClick()
{
    m_state.StartupTipPending = false;
    showTipOfTheDay();
    m_settings->SaveSettings(true);
}

void TFormPreview::Open1Click()
{
    const auto path = m_services.prompter.openFile(
        QStringLiteral("TrueType (*.ttf)|*.ttf;*.001|Raster (*.fon)|*.fon|All fonts|*.fon;*.ttf|All files|*.*"), QString());
    if (path)
        loadFontFromPath(*path);
}

void TFormPreview::loadFontFromPath(const QString &path)
{
    m_folderBrowser->ListFolder(withTrailingSlash(QFileInfo(path).absolutePath()));
    ReleaseCurrentFont();
    m_fontLoader->LoadFontFile(path);
    m_characterMap->CharactersPreviewClick();
    m_controls.Install1->setEnabled(true);
    m_controls.BtnInst->setEnabled(true);
}

void TFormPreview::MainSplitterMoved(int left)
{
    m_controls.DisksBrowse->setFixedWidth(std::max(20, left - m_panelViewStyleButtons->width() - 3));
    m_controls.PanelSelectExt->setFixedWidth(left);
    m_controls.SelectExt->setFixedWidth(std::max(20, left - 6));
    FormResize();
}

void TFormPreview::ReleaseCurrentFont()
{
    if (m_state.CurrentFont.FontFileHandle > 0) {
        ::close(m_state.CurrentFont.FontFileHandle);
        m_state.CurrentFont.FontFileHandle = 0;
    }
    if (!m_state.CurrentFont.KeepFontResource && !m_state.CurrentFont.FontFilePath.isEmpty())
        m_services.catalogue.removeTemporary(m_state.CurrentFont.FontFilePath);
}

void TFormPreview::FormClose()
{
    m_settings->closeSequence();
    ReleaseCurrentFont();
    m_archiveBrowser->deleteExtractedCopy();
}

void TFormPreview::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        m_sysTimer->stop();
        guarded([&] { FormClose(); });
    }
    event->accept();
}

void TFormPreview::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    guarded([&] { FormResize(); });
}
