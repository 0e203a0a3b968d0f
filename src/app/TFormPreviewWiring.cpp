// SPDX-License-Identifier: MIT
// The main window's wiring: which handler each command runs, and what the window does with what
// the parts report.
#include "TFormPreview.h"

#include "ArchiveBrowser.h"
#include "CharacterMap.h"
#include "Desktop.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FontViews.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "Paths.h"
#include "Prompter.h"
#include "ReportView.h"
#include "Settings.h"
#include "TFormAbout.h"
#include "TFormConfig.h"
#include "TextSample.h"
#include "UnicodeMap.h"
#include "UserMenus.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QUrl>

void TFormPreview::onTriggered(QAction *action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { guarded(handler); });
}

void TFormPreview::onToggled(QAction *item, std::function<void()> handler)
{
    connect(item, &QAction::triggered, this, [this, item, handler = std::move(handler)] {
        // The action has already flipped its check mark; the handler flips it as the command does.
        item->setChecked(!item->isChecked());
        guarded(handler);
    });
}

// What the parts report, and what the window does about it.
void TFormPreview::connectParts()
{
    connect(m_fontViews.get(), &FontViews::statusText, this, &TFormPreview::setStatusText);
    connect(m_archiveBrowser.get(), &ArchiveBrowser::statusText, this, &TFormPreview::setStatusText);
    connect(m_installer.get(), &Installer::statusText, this, &TFormPreview::setStatusText);
    connect(m_installedFonts.get(), &InstalledFontsList::listFilled, this, [this](const QString &face) { m_fontViews->offerSampleFace(face); });
    connect(m_characterMap.get(), &CharacterMap::charsetChosen, this, [this](int charset) { m_fontViews->setSampleCharset(charset); });
    connect(m_textSample.get(), &TextSample::colorChosen, this, [this] {
        FormConfig->showColors();
        m_settings->SaveSettings(true);
    });
    connect(m_folderBrowser.get(), &FolderBrowser::fontFileChosen, this, [this](const QString &path) {
        ReleaseCurrentFont();
        previewFontFile(path);
    });
    connect(m_folderBrowser.get(), &FolderBrowser::nonFontChosen, this, [this] { setInstallCommands(false, std::nullopt); });
    connect(m_folderBrowser.get(), &FolderBrowser::installedFontsViewShown, this, [this] { setInstallCommands(false, true); });
    connect(m_folderBrowser.get(), &FolderBrowser::folderViewShown, this, [this] { setInstallCommands(std::nullopt, false); });
    connect(m_folderBrowser.get(), &FolderBrowser::archiveChosen, this, [this](const QString &path) { m_archiveBrowser->OpenArchive(path); });
    connect(m_archiveBrowser.get(), &ArchiveBrowser::releaseFontRequested, this, [this] { ReleaseCurrentFont(); });
    connect(m_archiveBrowser.get(), &ArchiveBrowser::archiveEntryExtracted, this, [this](const QString &path) { previewFontFile(path); });
    connect(m_installer.get(), &Installer::faceWithdrawn, this, [this] { m_fontViews->withdrawFace(); });
    connect(m_userMenus.get(), &UserMenus::favoriteOpened, this, [this](const QString &path) {
        m_folderBrowser->ListFolder(path);
        Refresh1Click();
    });
    connectFileCommands();
    connectViewCommands();
    connectTextCommands();
    connectCharacterMap();
    connectUnicodeMap();
    connectNavigation();
    connectHelp();
    connectKeyboard();
}

void TFormPreview::connectFileCommands()
{
    onTriggered(m_ui.Open1, [this] { Open1Click(); });
    onTriggered(m_ui.Refresh1, [this] { Refresh1Click(); });
    onTriggered(m_ui.BtnRefresh, [this] { Refresh1Click(); });
    onTriggered(m_ui.Exit1, [this] { close(); });
    for (QAction *install : {m_ui.Install1, m_ui.PopInstall, m_ui.PopZipInstall})
        onTriggered(install, [this] { m_installer->Install1Click(); });
    onTriggered(m_ui.Uninstall1, [this] { m_installer->Uninstall1Click(); });
    for (QAction *copy : {m_ui.CopyTo, m_ui.PopCopyTo})
        onTriggered(copy, [this] { m_fileOperations->PopCopyToClick(); });
    for (QAction *move : {m_ui.MoveTo, m_ui.PopMoveTo})
        onTriggered(move, [this] { m_fileOperations->PopMoveToClick(); });
    for (QAction *remove : {m_ui.Delete, m_ui.PopDelete})
        onTriggered(remove, [this] { m_fileOperations->PopDeleteClick(); });
    for (QAction *properties : {m_ui.FileProperties, m_ui.PopFileProperties})
        onTriggered(properties, [this] { m_fileOperations->PopFilePropertiesClick(); });
    for (QAction *unpack : {m_ui.Unpack, m_ui.PopZipUnpack})
        onTriggered(unpack, [this] { m_archiveBrowser->PopZipUnpackClick(); });
    for (QAction *unpackHere : {m_ui.UnpackHere, m_ui.PopZipUnpackHere})
        onTriggered(unpackHere, [this] { m_archiveBrowser->PopZipUnpackHereClick(); });
    connect(m_ui.File1, &QMenu::aboutToShow, this, [this] { guarded([&] { m_fileOperations->File1Click(); }); });
    onTriggered(m_ui.PopAddCurrDortoFav, [this] { m_userMenus->PopAddCurrDortoFavClick(); });
    onTriggered(m_ui.BtnFavorites, [this] { m_userMenus->PopAddCurrDortoFavClick(); });
    onTriggered(m_ui.PopConfigFav, [this] { m_userMenus->PopConfigFavClick(); });
    onTriggered(m_ui.Configure1, [this] { m_userMenus->Configure1Click(); });
}

void TFormPreview::connectViewCommands()
{
    onTriggered(m_ui.FontPreview2, [this] { FontPreview2Click(); });
    onTriggered(m_ui.BtnPreview, [this] { FontPreview2Click(); });
    onTriggered(m_ui.CharMap2, [this] { CharMap2Click(); });
    onTriggered(m_ui.BtnCharmap, [this] { CharMap2Click(); });
    onTriggered(m_ui.Report2, [this] { Report2Click(); });
    onTriggered(m_ui.BtnReport, [this] { Report2Click(); });
    onTriggered(m_ui.UnicodeMap2, [this] { UnicodeMap2Click(); });
    onTriggered(m_ui.BtnUnicodeMap, [this] { UnicodeMap2Click(); });
    onTriggered(m_ui.FilterList1, [this] { FilterList1Click(); });
    connect(m_ui.FilterList, &QLineEdit::textChanged, this, [this](const QString &text) { guarded([&] { FilterListChange(text); }); });
    m_ui.FilterList->installEventFilter(this);
    connect(m_ui.TabsPreviewModes, &QTabWidget::tabBarClicked, this, [this](int index) {
        guarded([&] {
            m_ui.TabsPreviewModes->setCurrentIndex(index);
            TabsPreviewModesChange();
        });
    });
    onTriggered(m_ui.Config1, [this] { Config1Click(); });
    onTriggered(m_ui.SaveAs1, [this] { m_report->SaveAs1Click(); });
    connect(m_ui.MainSplitter, &QSplitter::splitterMoved, this, [this](int pos) { guarded([&] { MainSplitterMoved(pos); }); });
}

void TFormPreview::connectTextCommands()
{
    onTriggered(m_ui.LoadText1, [this] { m_textSample->LoadText1Click(); });
    onTriggered(m_ui.Clear1, [this] { m_textSample->Clear1Click(); });
    onTriggered(m_ui.Cut1, [this] { m_textSample->Cut1Click(); });
    onTriggered(m_ui.Copy2, [this] { m_textSample->Copy2Click(); });
    onTriggered(m_ui.Paste1, [this] { m_textSample->Paste1Click(); });
    onTriggered(m_ui.Color, [this] { m_textSample->ColorClick(); });
    onTriggered(m_ui.Waterfall1, [this] { Waterfall1Click(); });
    const std::tuple<QAction *, QAction *, TextSample::Style> styles[] = {{m_ui.Bold1, m_ui.BtnBold, TextSample::Bold},
                                                                          {m_ui.Italic1, m_ui.BtnItalic, TextSample::Italic},
                                                                          {m_ui.Underline1, m_ui.BtnUnderline, TextSample::Underline},
                                                                          {m_ui.StrikeOut1, nullptr, TextSample::StrikeOut}};
    for (const auto &[item, button, style] : styles)
        onToggled(item, [this, item = item, button = button, style = style] { m_textSample->toggleStyle(item, button, style); });
    connect(m_ui.FontSize, &QSpinBox::valueChanged, this, [this](int size) { guarded([&] { m_textSample->FontSizeChange(size); }); });
    onTriggered(m_ui.BtnLeft, [this] { m_textSample->setAlignment(Qt::AlignLeft); });
    onTriggered(m_ui.BtnCenter, [this] { m_textSample->setAlignment(Qt::AlignHCenter); });
    onTriggered(m_ui.BtnRight, [this] { m_textSample->setAlignment(Qt::AlignRight); });
}

void TFormPreview::connectCharacterMap()
{
    onTriggered(m_ui.Copy1, [this] { m_characterMap->Copy1Click(); });
    onTriggered(m_ui.CopyBuff1, [this] { m_characterMap->CopyBuff1Click(); });
    onTriggered(m_ui.BuffToClipboard1, [this] { m_characterMap->BuffToClipboard1Click(); });
    onToggled(m_ui.CharPreview2, [this] { m_characterMap->CharPreview2Click(); });
    onTriggered(m_ui.GoTo1, [this] { m_characterMap->GoTo1Click(static_cast<GoToQuestion &>(*this)); });
    QTableWidget *grid = m_ui.CharactersPreview;
    connect(grid, &QTableWidget::currentCellChanged, this, [this] { guarded([&] { m_characterMap->CharactersPreviewClick(); }); });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { guarded([&] { m_characterMap->CopyBuff1Click(); }); });
    for (QRadioButton *radio : {m_ui.AsciiDec, m_ui.AcsiiHex})
        connect(radio, &QRadioButton::clicked, this, [this] { guarded([&] { m_characterMap->CharactersPreviewClick(); }); });
    connect(m_ui.GoStart, &QPushButton::clicked, this, [this] { guarded([&] { m_characterMap->GoStartClick(); }); });
    connect(m_ui.GoTo, &QLineEdit::returnPressed, this, [this] { guarded([&] { m_characterMap->GoStartClick(); }); });
    connect(m_ui.SelectCharset, &QComboBox::activated, this, [this] { guarded([&] { m_characterMap->SelectCharsetChange(); }); });
    connect(m_ui.SelectStyle, &QComboBox::activated, this, [this](int entry) { guarded([&] { m_fontViews->SelectStyleChange(entry); }); });
}

void TFormPreview::connectUnicodeMap()
{
    onTriggered(m_ui.UnicodeCopy1, [this] { m_unicodeMap->copyCharacter(); });
    onTriggered(m_ui.UnicodeToBuffer1, [this] { m_unicodeMap->addToBuffer(); });
    onTriggered(m_ui.UnicodeBuffToClipboard1, [this] { m_characterMap->BuffToClipboard1Click(); });
    onTriggered(m_ui.UnicodeFind1, [this] {
        m_ui.UnicodeSearch->setFocus(Qt::ShortcutFocusReason);
        m_ui.UnicodeSearch->selectAll();
    });
    connect(m_ui.UnicodeBlocks, &QComboBox::activated, this, [this](int entry) {
        guarded([&] {
            // A chosen block ends a search.
            const QSignalBlocker quiet(m_ui.UnicodeSearch);
            m_ui.UnicodeSearch->clear();
            m_unicodeMap->chooseBlock(entry);
        });
    });
    connect(m_ui.UnicodeSearch, &QLineEdit::textChanged, this, [this](const QString &text) { guarded([&] { m_unicodeMap->findCharacters(text); }); });
    connect(m_ui.UnicodeGrid, &QTableView::doubleClicked, this, [this] { guarded([&] { m_unicodeMap->addToBuffer(); }); });
}

void TFormPreview::connectNavigation()
{
    for (int i = 0; i < 4; ++i)
        connect(m_ui.ViewStyleButtons[static_cast<size_t>(i)], &QToolButton::clicked, this,
                [this, i] { guarded([&] { m_folderBrowser->setViewStyle(i); }); });
    connect(m_ui.DisksBrowse, &QComboBox::activated, this, [this] { guarded([&] { m_folderBrowser->DisksBrowseChange(); }); });
    connect(m_ui.SelectExt, &QComboBox::activated, this, [this] { guarded([&] { m_folderBrowser->SelectExtChange(); }); });
    ListView *files = m_ui.FilesBrowse;
    connect(files, &ListView::selectItem, this, [this](int row, bool selected) {
        guarded([&] { m_folderBrowser->FilesBrowseSelectItem(row, selected); });
        // The button follows the menu item, whatever the selection did to it.
        m_ui.BtnInst->setEnabled(m_ui.Install1->isEnabled());
    });
    connect(files, &ListView::dblClick, this, [this] { guarded([&] { m_folderBrowser->FilesBrowseDblClick(); }); });
    connect(files, &ListView::keyPress, this, [this](QChar key) { guarded([&] { m_folderBrowser->FilesBrowseKeyPress(key); }); });
    connect(files, &ListView::itemDropped, this, [this](int from, int to) { guarded([&] { m_fileOperations->FilesBrowseDragDrop(from, to); }); });
    connect(files, &ListView::contextMenu, this, [this](const QPoint &at) {
        guarded([&] { m_fileOperations->PopupFilesBrowsePopup(); });
        m_ui.PopupFilesBrowse->popup(at);
    });
    m_ui.EditFileName->installEventFilter(this);
    ListView *zip = m_ui.ZipBrowse;
    connect(zip, &ListView::selectItem, this, [this](int row, bool selected) {
        guarded([&] { m_archiveBrowser->PreviewArchiveEntry(row, selected); });
        // The popup's items, and with them the Ins key, follow the selection.
        m_archiveBrowser->PopupZipBrowsePopup();
    });
    connect(zip, &ListView::dblClick, this, [this] { guarded([&] { m_archiveBrowser->CloseArchive(); }); });
    connect(zip, &ListView::keyPress, this, [this](QChar key) { guarded([&] { m_archiveBrowser->ZipBrowseKeyPress(key); }); });
    connect(zip, &ListView::contextMenu, this, [this](const QPoint &at) {
        guarded([&] { m_archiveBrowser->PopupZipBrowsePopup(); });
        m_ui.PopupZipBrowse->popup(at);
    });
    connect(m_ui.FontsList, &ListView::selectItem, this, [this](int row, bool selected) {
        guarded([&] { m_fontViews->FontsListSelectItem(row, selected); });
    });
}

void TFormPreview::connectHelp()
{
    onTriggered(m_ui.TipOfTheDay, [this] { TipOfTheDayClick(); });
    onTriggered(m_ui.About1, [this] { m_services.prompter.runDialog(*FormAbout); });
    onTriggered(m_ui.Contents1, [this] { openOrTell(QUrl::fromLocalFile(m_services.paths.helpPage())); });
    onTriggered(m_ui.Website1, [this] { openOrTell(QUrl(QStringLiteral("https://glyvanta.example.org/?item=website"))); });
    onTriggered(m_ui.FontsWebResources1,
                [this] { openOrTell(QUrl(QStringLiteral("https://glyvanta.example.org/fonts/?item=fontswebresources"))); });
    connect(FormAbout, &TFormAbout::openFailed, this, [this](const QUrl &url) {
        m_services.prompter.message(Desktop::openFailureText(url), MessageIcon::Error);
    });
}

// A page that no program could take is told, not lost.
void TFormPreview::openOrTell(const QUrl &url)
{
    if (!Desktop::open(url))
        m_services.prompter.message(Desktop::openFailureText(url), MessageIcon::Error);
}

