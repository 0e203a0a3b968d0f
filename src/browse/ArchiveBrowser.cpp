// SPDX-License-Identifier: MIT
#include "ArchiveBrowser.h"

#include "CharacterMap.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FolderListing.h"
#include "FontLoader.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "LocaleCompare.h"
#include "Paths.h"
#include "Prompter.h"
#include "TZipKit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

ArchiveBrowser::ArchiveBrowser(MainState &state, MainServices &services, MainControls &controls, TZipKit &zipKit, FolderBrowser &browser,
                               FileOperations &operations, FontLoader &loader, CharacterMap &characterMap, QMenu &popup,
                               std::function<void()> releaseCurrentFont)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
    , m_zipKit(zipKit)
    , m_browser(browser)
    , m_operations(operations)
    , m_loader(loader)
    , m_characterMap(characterMap)
    , m_popup(popup)
    , m_releaseCurrentFont(std::move(releaseCurrentFont))
    , m_temporary(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/glyvanta-extract-XXXXXX")))
{
    // Extracted copies go to a folder of this process's own, with the entries' folder parts
    // kept, so that the path the window builds from the stored name is where the file lands.
    m_folder = withTrailingSlash(m_temporary->path());
    m_zipKit.ExtrBaseDir = m_folder;
    m_zipKit.ExtrOptions = TZipKit::ExtrDirNames | TZipKit::ExtrOverWrite;
    m_zipKit.OnItemProgress = [this](const QString &item, qint64, int perCent) {
        if (perCent >= 0)
            m_controls.StatusPanels[0]->setText(QStringLiteral("Extracting %1: %2%").arg(item).arg(perCent));
        else
            m_controls.StatusPanels[0]->clear();
    };
    m_browser.openArchive = [this](const QString &path) { OpenArchive(path); };
    m_browser.closeArchiveView = [this] { leaveArchiveView(); };
}

ArchiveBrowser::~ArchiveBrowser() = default;

QString ArchiveBrowser::extractedPath() const
{
    return m_state.ArchiveTempFile.isEmpty() ? QString() : m_folder + TZipKit::SetSlash(m_state.ArchiveTempFile, true);
}

void ArchiveBrowser::deleteExtractedCopy()
{
    if (!m_state.ArchiveTempFile.isEmpty())
        QFile::remove(extractedPath());
}

void ArchiveBrowser::OpenArchive(const QString &path)
{
    m_controls.FilesBrowse->setCollapsed(true);
    m_controls.FontsList->setCollapsed(true);
    m_controls.ZipBrowse->setCollapsed(false);
    ListView *list = m_controls.ZipBrowse;
    list->beginUpdate();
    list->clear();
    m_zipKit.SetFileName(path);
    const int filter = m_controls.SelectExt->currentIndex();
    std::vector<ListView::Item> items;
    items.reserve(m_zipKit.DirEntries.size());
    for (const ZipDirEntry &entry : m_zipKit.DirEntries) {
        const QString &name = entry.FileName;
        const QString last = name.section(QLatin1Char('\\'), -1);
        const QString ext = fileExtension(last);
        const int image = FileTypeImage(ext, filter);
        if (image < 1)
            continue;
        items.push_back({name.left(name.size() - ext.size()), {ext}, image, 0, name});
    }
    std::stable_sort(items.begin(), items.end(), [](const ListView::Item &a, const ListView::Item &b) {
        return localeCompare(a.caption, b.caption) < 0;
    });
    // The way back sorts first: its caption begins with a blank.
    list->addItem({QStringLiteral(" .."), {}, 1, 0, QString()});
    for (ListView::Item &item : items)
        list->addItem(std::move(item));
    list->endUpdate();
    list->selectRow(0);
    list->focusList();
    list->scrollToRow(0);
}

void ArchiveBrowser::PreviewArchiveEntry(int row, bool selected)
{
    ListView *list = m_controls.ZipBrowse;
    if (!selected || row < 0 || row >= list->count() || list->item(row).image <= 1)
        return;
    const ListView::Item item = list->item(row);
    m_releaseCurrentFont();
    deleteExtractedCopy();
    m_state.ArchiveTempFile = item.caption + item.subItems.value(0);
    m_zipKit.FSpecArgs.append(m_state.ArchiveTempFile);
    const int shown = m_zipKit.ShownMessageCount;
    m_zipKit.LastMessage.clear();
    m_zipKit.Extract();
    m_controls.StatusPanels[0]->clear();
    const QString extracted = extractedPath();
    if (!QFileInfo::exists(extracted)) {
        // The library's own messages reach no box: tell them here, unless the component did.
        if (m_zipKit.ShownMessageCount == shown && !m_zipKit.Cancel)
            m_services.prompter.message(m_zipKit.LastMessage.isEmpty() ? QStringLiteral("Could not extract ") + m_state.ArchiveTempFile
                                                                        : m_zipKit.LastMessage,
                                        MessageIcon::Error);
        // Nothing of the previous font stays on show.
        m_state.ArchiveTempFile.clear();
        m_controls.StatusPanels[1]->setText(QStringLiteral("Default font"));
        m_controls.StatusPanels[2]->clear();
        m_controls.StatusPanels[3]->clear();
        return;
    }
    m_loader.LoadFontFile(extracted);
    m_characterMap.CharactersPreviewClick();
}

void ArchiveBrowser::CloseArchive()
{
    ListView *list = m_controls.ZipBrowse;
    const int row = list->selectedRow();
    if (row < 0 || list->item(row).image != 1)
        return;
    list->setCollapsed(true);
    m_browser.ListFolder(m_state.CurrentFolder);
    m_browser.showFolderView();
    list->clear();
    m_browser.selectFirstFile();
}

void ArchiveBrowser::leaveArchiveView()
{
    m_controls.ZipBrowse->setCollapsed(true);
    m_controls.ZipBrowse->clear();
    m_controls.FilesBrowse->setCollapsed(false);
}

void ArchiveBrowser::ZipBrowseKeyPress(QChar key)
{
    if (key == QChar(13))
        CloseArchive();
}

void ArchiveBrowser::PopupZipBrowsePopup()
{
    const ListView *list = m_controls.ZipBrowse;
    const int row = list->selectedRow();
    const bool show = row >= 0 && !list->item(row).subItems.isEmpty() && list->item(row).subItems.value(0) != QLatin1String(" ");
    for (QAction *item : m_popup.actions())
        item->setVisible(show);
}

void ArchiveBrowser::unpackTo(const QString &folder)
{
    if (m_state.ArchiveTempFile.isEmpty())
        return;
    m_operations.deliver(extractedPath(), folder, QFileInfo(extractedPath()).fileName(), TransferMode::Copy);
}

void ArchiveBrowser::PopZipUnpackClick()
{
    if (const auto folder = m_operations.ChooseTargetFolder(QStringLiteral("Unpack to...")))
        unpackTo(*folder);
}

void ArchiveBrowser::PopZipUnpackHereClick()
{
    unpackTo(m_state.CurrentFolder);
}
