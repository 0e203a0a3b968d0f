// SPDX-License-Identifier: MIT
#include "TFormPreview.h"
#include "WindowLayout.h"

#include "AppError.h"
#include "ArchiveBrowser.h"
#include "CharacterMap.h"
#include "CommandStates.h"
#include "CurrentFont.h"
#include "Desktop.h"
#include "FaceFont.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FontCatalogue.h"
#include "FontFamilies.h"
#include "FontFileTypes.h"
#include "FontLoader.h"
#include "FontViews.h"
#include "FontsRegistry.h"
#include "IniFile.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "MenuTree.h"
#include "NativePaths.h"
#include "OrganizerDialogs.h"
#include "Paths.h"
#include "Prompter.h"
#include "ReportView.h"
#include "Settings.h"
#include "TFormAbout.h"
#include "TFormConfig.h"
#include "TFormFontInstall.h"
#include "TFormGoTo.h"
#include "TFormTip.h"
#include "TOverwritePromt.h"
#include "TZipKit.h"
#include "TextSample.h"
#include "UnicodeMap.h"
#include "TipOfTheDay.h"
#include "UserMenus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QShortcutEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace {
const QString kCaption = QStringLiteral("Glyvanta v. 2.4");
}

TFormPreview::TFormPreview(MainServices services, QStringList arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_arguments(std::move(arguments))
{
    setObjectName(QStringLiteral("TFormPreview"));
    setWindowTitle(kCaption);
    setWindowIcon(applicationIcon());

    // Creation, in order.
    m_state.SystemFontsFolder = m_services.paths.systemFontsFolder;
    m_state.FontsRegistryKey = m_services.fontsKey.keyExists(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts"))
        ? QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts")
        : QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    m_state.ProgramFolder = m_services.paths.programFolder;
    // The first run starts from the shipped file, which carries the tips and some links.
    m_services.paths.installDefaultFavorites();
    m_favoritesIni = std::make_unique<IniFile>(m_services.paths.favoritesIni());

    // A generic name such as "Sans Serif" is no family in the toolkit's list: for every text drawn
    // in it the toolkit would try each installed family as a fallback, a start-up that grows with
    // the square of the collection. The family fontconfig draws it with is named instead.
    QFont appFont = QApplication::font();
    const QString family = fontconfigFamilyFor(appFont.family());
    if (!family.isEmpty() && family.compare(appFont.family(), Qt::CaseInsensitive) != 0) {
        appFont.setFamily(family);
        QApplication::setFont(appFont);
    }
    QFont windowFont = font();
    windowFont.setPointSize(9);
    setFont(windowFont);
    m_ui.setupUi(this, this);
    createParts();
    createDialogs();
    connectParts();
    connect(m_installedFonts.get(), &InstalledFontsList::statusText, this, &TFormPreview::setStatusText);
    connectFormats();

    m_sysTimer = new QTimer(this);
    m_sysTimer->setObjectName(QStringLiteral("SysTimer"));
    m_sysTimer->setInterval(50);
    connect(m_sysTimer, &QTimer::timeout, this, [this] { guarded([&] { SysTimerTimer(); }); });

    applyLayout();
}

TFormPreview::~TFormPreview()
{
    ReleaseCurrentFont();
}

void TFormPreview::createParts()
{
    Prompter &prompter = m_services.prompter;
    m_installedFonts = std::make_unique<InstalledFontsList>(m_services.catalogue, m_services.fontsKey, m_state.FontsRegistryKey, *m_ui.FontsList);
    m_fontLoader = std::make_unique<FontLoader>(prompter, m_services.catalogue, *m_installedFonts);
    m_textSample = std::make_unique<TextSample>(prompter, m_colors, *m_ui.Preview, *m_ui.CharactersPreview, *m_ui.SymbolPreview);
    m_characterMap = std::make_unique<CharacterMap>(prompter, m_ui.characterMap());
    m_report = std::make_unique<ReportView>(prompter, *m_ui.ReportEdit);
    m_unicodeMap = std::make_unique<UnicodeMap>(m_services.catalogue, m_ui.unicodeMap());
    m_fontViews = std::make_unique<FontViews>(m_services.catalogue, m_ui.fontViews(), *m_characterMap, *m_report, *m_installedFonts,
                                              m_fontLoader->CurrentFont, m_state.SystemFontsFolder);
    m_fontViews->setUnicodeMap(m_unicodeMap.get());
    // The installed list is filtered by family (the caption), style and file name; the folder
    // and archive lists by name.
    m_ui.FontsList->setFilterSubItems({FontsListColumn::Style, FontsListColumn::FileName});
    m_folderBrowser = std::make_unique<FolderBrowser>(prompter, m_ui.navigation(), *m_installedFonts);
    m_ui.FilesBrowse->setInternalDrag(true);
    m_textSample->showColors();
}

void TFormPreview::createDialogs()
{
    Prompter &prompter = m_services.prompter;
    FormAbout = new TFormAbout(this);
    FormConfig = new TFormConfig(prompter, m_colors, this);
    OverwritePromt = new TOverwritePromt(prompter, this);
    FormFontInstall = new TFormFontInstall(prompter, this);
    FormGoTo = new TFormGoTo(this);
    FormNewItem = new TFormNewItem(this);
    FormFavOrg = new TFormFavOrg(prompter, *FormNewItem, this);
    FormLinksOrg = new TFormLinksOrg(prompter, *FormNewItem, this);
    FormTip = new TFormTip(this);
    m_settings = std::make_unique<Settings>(*this);
    m_tips = std::make_unique<TipOfTheDay>(prompter, *m_favoritesIni, *FormTip);
    m_fileOperations = std::make_unique<FileOperations>(prompter, m_services.catalogue, m_fontLoader->CurrentFont, *m_folderBrowser,
                                                        *OverwritePromt, *m_ui.PopupFilesBrowse, m_ui.fileMenuItems());
    m_installer = std::make_unique<Installer>(prompter, m_services.catalogue, m_services.fontsKey, m_state.FontsRegistryKey,
                                              m_state.SystemFontsFolder, m_fontLoader->CurrentFont, *FormFontInstall,
                                              static_cast<InstallContext &>(*this), *m_ui.FontsList);
    m_zipKit = std::make_unique<TZipKit>(prompter);
    m_zipKit->setObjectName(QStringLiteral("ZipKit"));
    m_archiveBrowser = std::make_unique<ArchiveBrowser>(prompter, *m_zipKit, *m_folderBrowser, *m_fileOperations, *m_ui.PopupZipBrowse);
    m_userMenus = std::make_unique<UserMenus>(prompter, *m_favoritesIni, m_folderBrowser->CurrentFolder, *m_ui.PopupFavorites,
                                              *m_ui.CoolLinks, *FormFavOrg, *FormLinksOrg);
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

bool TFormPreview::event(QEvent *event)
{
    // The long part of a hint goes to panel 0.
    if (event->type() == QEvent::StatusTip) {
        setStatusText(0, static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFormPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.FilterList && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_ui.FilterList->clear();
        return true;
    }
    if (watched == m_ui.EditFileName) {
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
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent *>(event)->isAmbiguous()) {
        if (auto *a = qobject_cast<QAction *>(watched)) {
            resolveAmbiguousShortcut(a);
            return true;
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
    for (QAction *a : candidates) {
        if (a == m_ui.BuffToClipboard1 || a == m_ui.SaveAs1 || a == m_ui.Copy1) {
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
    m_ui.SelectExt->setCurrentIndex(2);
    // The Fonts-key view and the rows are read together on a worker thread; the refresh of the
    // Fonts view below waits for this read instead of starting a second one.
    m_installedFonts->FillInstalledFontsList();

    // A store that cannot be read is told, and start-up goes on with what was loaded: the
    // window must still list, preview and keep its commands current.
    guarded([&] {
        m_settings->LoadSettings(true);
        m_settings->ApplyOptions();
    });
    if (m_state.StartFolder.isEmpty())
        m_state.StartFolder = QStringLiteral("fonts");
    m_installedFonts->FontsListReady = false;

    if (openStartupArguments()) {
        // The menus are there whichever way the program starts.
        m_userMenus->RebuildUserMenus();
    } else {
        if (m_state.StartFolder == QLatin1String("fonts"))
            m_folderBrowser->RebuildDriveList(QStringLiteral("fonts"));
        else
            m_folderBrowser->ListFolder(m_state.StartFolder);
        m_folderBrowser->CurrentFolder = m_state.StartFolder;
        m_fontViews->setSampleFace(QStringLiteral("Times New Roman"));
        m_userMenus->RebuildUserMenus();
        Refresh1Click();
    }

    m_ui.ZipBrowse->setCollapsed(true);
    if (m_ui.DisksBrowse->currentIndex() != m_ui.DisksBrowse->count() - 1) {
        m_folderBrowser->showFolderView();
    } else {
        m_folderBrowser->showFontsView();
        setInstallCommands(false, true);
    }
    m_installedFonts->FontsListReady = true;
    m_tips->StartupTipPending = true;
    QCoreApplication::processEvents();
    m_sysTimer->start();
}

int TFormPreview::activeView() const
{
    return m_folderBrowser->activeView();
}

void TFormPreview::Refresh1Click()
{
    m_folderBrowser->Refresh1Click();
}

void TFormPreview::FontPreview2Click()
{
    m_ui.TabsPreviewModes->setCurrentIndex(0);
    TabsPreviewModesChange();
    focusShownPage();
}

void TFormPreview::CharMap2Click()
{
    m_ui.TabsPreviewModes->setCurrentIndex(1);
    TabsPreviewModesChange();
    focusShownPage();
}

void TFormPreview::Report2Click()
{
    m_ui.TabsPreviewModes->setCurrentIndex(2);
    TabsPreviewModesChange();
    focusShownPage();
}

void TFormPreview::UnicodeMap2Click()
{
    m_ui.TabsPreviewModes->setCurrentIndex(3);
    TabsPreviewModesChange();
}

void TFormPreview::Waterfall1Click()
{
    m_ui.BtnWaterfall->setChecked(m_ui.Waterfall1->isChecked());
    m_ui.WaterfallBox->setVisible(m_ui.Waterfall1->isChecked());
}

void TFormPreview::FilterList1Click()
{
    m_ui.FilterList->setFocus(Qt::ShortcutFocusReason);
    m_ui.FilterList->selectAll();
}

void TFormPreview::FilterListChange(const QString &text)
{
    for (ListView *list : {m_ui.FilesBrowse, m_ui.FontsList, m_ui.ZipBrowse})
        list->setFilter(text);
}

CommandInputs TFormPreview::commandInputs() const
{
    CommandInputs in;
    in.mode = m_ui.TabsPreviewModes->currentIndex();
    in.clipboardHasText = Desktop::clipboardHasText();
    in.copyBufferEmpty = m_ui.CopyBuff->text().isEmpty();
    in.charsetBoxEmpty = m_ui.SelectCharset->count() == 0;
    in.folderListShown = !m_ui.FilesBrowse->collapsed();
    if (const int row = m_ui.FilesBrowse->selectedRow(); row >= 0)
        in.selectedFileExtension = m_ui.FilesBrowse->item(row).subItems.value(0);
    in.fontsListShown = !m_ui.FontsList->collapsed();
    if (const int row = m_ui.FontsList->selectedRow(); row >= 0)
        in.selectedFontFile = m_ui.FontsList->item(row).subItems.value(9);
    in.busy = m_archiveBrowser->extracting();
    return in;
}

void TFormPreview::applyCommandStates(const CommandStates &states)
{
    const std::map<Command, std::vector<QAction *>> items = {
        {Command::PreviewButtons, {m_ui.BtnLoadText, m_ui.BtnClear, m_ui.BtnCut, m_ui.BtnCopy, m_ui.BtnPaste, m_ui.BtnWaterfall}},
        {Command::UnicodeButtons, {m_ui.BtnUnicodeCopy, m_ui.BtnUnicodeToBuffer}},
        {Command::CharacterButtons, {m_ui.BtnCopyChar, m_ui.BtnAddToCharBuff, m_ui.BtnCopyBuff, m_ui.BtnCharPreview, m_ui.BtnGotoLetter}},
        {Command::FormatButtons, {m_ui.BtnBold, m_ui.BtnItalic, m_ui.BtnUnderline, m_ui.BtnColor, m_ui.BtnLeft, m_ui.BtnCenter, m_ui.BtnRight}},
        {Command::Paste, {m_ui.Paste1, m_ui.BtnPaste}},
        {Command::CopyBuffer, {m_ui.BuffToClipboard1, m_ui.BtnCopyBuff, m_ui.UnicodeBuffToClipboard1}},
        {Command::Install, {m_ui.Install1, m_ui.BtnInst}},
        {Command::Uninstall, {m_ui.Uninstall1, m_ui.BtnUninst}},
        {Command::UnpackEntry, {m_ui.Unpack, m_ui.UnpackHere, m_ui.PopZipUnpack, m_ui.PopZipUnpackHere}}};
    const std::map<Command, QMenu *> menus = {{Command::PreviewMenu, m_ui.Preview1}, {Command::FormatMenu, m_ui.Format1},
                                              {Command::SymbolMenu, m_ui.Symbol1}, {Command::ReportMenu, m_ui.Report1},
                                              {Command::UnicodeMenu, m_ui.Unicode1}};
    if (states.checkedMode) {
        const std::array<QAction *, 4> viewItems = {m_ui.FontPreview2, m_ui.CharMap2, m_ui.Report2, m_ui.UnicodeMap2};
        const std::array<QAction *, 4> viewButtons = {m_ui.BtnPreview, m_ui.BtnCharmap, m_ui.BtnReport, m_ui.BtnUnicodeMap};
        for (int i = 0; i < 4; ++i) {
            viewItems[static_cast<size_t>(i)]->setChecked(i == *states.checkedMode);
            viewButtons[static_cast<size_t>(i)]->setChecked(i == *states.checkedMode);
        }
    }
    for (const auto &[command, on] : states.enabled) {
        if (const auto menu = menus.find(command); menu != menus.end())
            on ? EnableMenuTree(menu->second->menuAction()) : DisableMenuTree(menu->second->menuAction());
        if (const auto group = items.find(command); group != items.end())
            for (QAction *a : group->second)
                a->setEnabled(on);
        if (command == Command::FormatButtons)
            m_ui.FontSize->setEnabled(on);
        if (command == Command::SelectCharset)
            m_ui.SelectCharset->setEnabled(on);
    }
}

void TFormPreview::TabsPreviewModesChange()
{
    applyCommandStates(commandStates(CommandTrigger::ModeSwitch, commandInputs()));
    m_unicodeMap->setShown(m_ui.TabsPreviewModes->currentIndex() == 3);
    if (m_ui.TabsPreviewModes->currentIndex() == 1) {
        FormResize();
        return;
    }
    if (m_ui.TabsPreviewModes->currentIndex() != 2)
        return;
    // Rebuild the report for what is selected.
    if (!m_ui.FontsList->collapsed() && m_ui.FontsList->selectedRow() >= 0)
        emit m_ui.FontsList->selectItem(m_ui.FontsList->selectedRow(), true);
    else if (m_ui.FilesBrowse->selectedRow() >= 0)
        emit m_ui.FilesBrowse->selectItem(m_ui.FilesBrowse->selectedRow(), true);
    else if (m_ui.ZipBrowse->selectedRow() >= 0)
        emit m_ui.ZipBrowse->selectItem(m_ui.ZipBrowse->selectedRow(), true);
}

void TFormPreview::SysTimerTimer()
{
    guarded([&] { m_tips->showStartupTip(); });
    applyCommandStates(commandStates(CommandTrigger::Tick, commandInputs()));
    setWindowTitle(kCaption);
}

void TFormPreview::setInstallCommands(std::optional<bool> install, std::optional<bool> uninstall)
{
    if (install) {
        m_ui.Install1->setEnabled(*install);
        m_ui.BtnInst->setEnabled(*install);
    }
    if (uninstall) {
        m_ui.Uninstall1->setEnabled(*uninstall);
        m_ui.BtnUninst->setEnabled(*uninstall);
    }
}

void TFormPreview::setStatusText(int panel, const QString &text)
{
    if (panel >= 0 && panel < static_cast<int>(m_ui.StatusPanels.size()) && m_ui.StatusPanels[static_cast<size_t>(panel)])
        m_ui.StatusPanels[static_cast<size_t>(panel)]->setText(text);
}

void TFormPreview::FormResize()
{
    if (m_characterMap)
        m_characterMap->FormResize();
}

void TFormPreview::Config1Click()
{
    m_settings->LoadSettings(false);
    if (m_services.prompter.runDialog(*FormConfig) != ModalResult::Ok)
        return;
    m_settings->ApplyOptions();
    m_settings->SaveSettings(true);
}

void TFormPreview::TipOfTheDayClick()
{
    m_tips->TipOfTheDayClick();
    m_settings->SaveSettings(true);
}

void TFormPreview::Open1Click()
{
    if (const auto path = m_services.prompter.openFile(kFontFileFilter, QString()))
        loadFontFromPath(*path);
}

void TFormPreview::loadFontFromPath(const QString &path)
{
    m_folderBrowser->ListFolder(withTrailingSlash(QFileInfo(path).absolutePath()));
    ReleaseCurrentFont();
    previewFontFile(path, 0, true);
    setInstallCommands(true, std::nullopt);
}

int TFormPreview::previewFontFile(const QString &path, int faceIndex, bool explicitLoad)
{
    m_report->clear();
    const int toldBefore = m_services.prompter.messagesShown();
    const int result = m_fontLoader->LoadFontFile(path, faceIndex);
    updateFaceChooser();
    if (result == 0) {
        const LoadedFont &font = m_fontLoader->loaded();
        m_fontViews->showFontFile(font);
        if (font.trueType)
            m_ui.Install1->setEnabled(!font.installed);
    } else {
        showPreviewFailure(path, m_services.prompter.messagesShown() != toldBefore, explicitLoad);
    }
    m_characterMap->CharactersPreviewClick();
    return result;
}

// A file that cannot be shown leaves the default font on show: the status bar says so and why,
// and nothing of the previous font stays in it.
void TFormPreview::showPreviewFailure(const QString &path, bool alreadyTold, bool explicitLoad)
{
    const QString why = alreadyTold ? m_services.prompter.lastMessage() : previewFailureText(path);
    if (explicitLoad && !alreadyTold)
        m_services.prompter.message(why, MessageIcon::Error);
    setStatusText(0, why);
    setStatusText(1, QStringLiteral("Default font"));
    setStatusText(2, QString());
    setStatusText(3, QString());
}

QString previewFailureText(const QString &path)
{
    const QString shown = displayPath(path);
    if (!pathExists(path))
        return QStringLiteral("Cannot show %1: the file does not exist.").arg(shown);
    return QStringLiteral("Cannot show %1: it is not a font file that can be shown.").arg(shown);
}

void TFormPreview::MainSplitterMoved(int left)
{
    m_ui.DisksBrowse->setFixedWidth(std::max(20, left - m_ui.PanelViewStyleButtonsPanel->width() - 3));
    m_ui.PanelSelectExt->setFixedWidth(left);
    m_ui.SelectExt->setFixedWidth(std::max(20, left - 6));
    FormResize();
}

void TFormPreview::ReleaseCurrentFont()
{
    releaseFontRecord(m_fontLoader->CurrentFont, m_services.catalogue);
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

std::optional<InstallContext::Candidate> TFormPreview::installCandidate() const
{
    if (!m_ui.FilesBrowse->collapsed()) {
        const int row = m_ui.FilesBrowse->selectedRow();
        if (row < 0)
            return std::nullopt;
        const ListView::Item &item = m_ui.FilesBrowse->item(row);
        return Candidate{m_folderBrowser->CurrentFolder + (item.name.isEmpty() ? item.caption + item.subItems.value(0) : item.name), true};
    }
    if (m_ui.FontsList->collapsed())
        return Candidate{m_archiveBrowser->extractedPath(), false};
    return std::nullopt;
}

QString TFormPreview::shownFaceName() const
{
    return faceName(m_ui.Preview);
}

int TFormPreview::extensionFilter() const
{
    return m_ui.SelectExt->currentIndex();
}

std::optional<GoToTarget> TFormPreview::askGoTo()
{
    if (m_services.prompter.runDialog(*FormGoTo) != ModalResult::Ok)
        return std::nullopt;
    return GoToTarget{FormGoTo->GoTo->text(), FormGoTo->GoToCode->isChecked(), FormGoTo->GoToSymbol->isChecked()};
}
