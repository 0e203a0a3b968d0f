// SPDX-License-Identifier: MIT
#include "ArchiveBrowser.h"

#include "EntryPath.h"
#include "ExtractionGuard.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FolderListing.h"
#include "ListView.h"
#include "LocaleCompare.h"
#include "NativeFile.h"
#include "NativePaths.h"
#include "Paths.h"
#include "Prompter.h"
#include "TZipKit.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

#include <unistd.h>

ArchiveBrowser::ArchiveBrowser(Prompter &prompter, TZipKit &zipKit, FolderBrowser &browser, FileOperations &operations, QMenu &popup)
    : m_prompter(prompter)
    , m_zipKit(zipKit)
    , m_browser(browser)
    , m_operations(operations)
    , m_popup(popup)
    , m_temporary(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/glyvanta-extract-XXXXXX")))
{
    // Extracted copies go to a folder of this process's own, with the entries' folder parts
    // kept, so that the path the window builds from the stored name is where the file lands.
    m_folder = m_temporary->isValid() ? withTrailingSlash(m_temporary->path()) : QString();
    m_zipKit.ExtrBaseDir = m_folder;
    m_zipKit.ExtrOptions = TZipKit::ExtrDirNames | TZipKit::ExtrOverWrite;
    m_zipKit.OnItemProgress = [this](const QString &item, qint64, int perCent) {
        emit statusText(0, perCent >= 0 ? QStringLiteral("Extracting %1: %2%").arg(item).arg(perCent) : QString());
    };
}

ArchiveBrowser::~ArchiveBrowser() = default;

QString ArchiveBrowser::extractedPath() const
{
    // Built by the same rule the unzip library writes by: a name it refuses has no path at all.
    return ArchiveTempFile.isEmpty() ? QString() : zipEntryPath(m_folder, ArchiveTempFile, true);
}

void ArchiveBrowser::deleteExtractedCopy()
{
    // Called while an entry is being extracted (the window closing): the run stops and what it
    // wrote goes once it has returned.
    if (m_extracting) {
        m_discardExtraction = true;
        m_zipKit.AbortLibs();
    }
    const QString path = extractedPath();
    if (!path.isEmpty())
        ::unlink(nativePath(path).constData());
}

void ArchiveBrowser::OpenArchive(const QString &path)
{
    const NavigationControls &c = m_browser.controls();
    c.FilesBrowse->setCollapsed(true);
    c.FontsList->setCollapsed(true);
    c.ZipBrowse->setCollapsed(false);
    ListView *list = c.ZipBrowse;
    list->beginUpdate();
    list->clear();
    m_zipKit.SetFileName(path);
    const int filter = c.SelectExt->currentIndex();
    std::vector<ListView::Item> items;
    items.reserve(m_zipKit.DirEntries.size());
    for (size_t index = 0; index < m_zipKit.DirEntries.size(); ++index) {
        const QString &name = m_zipKit.DirEntries[index].FileName;
        const QString last = name.section(QLatin1Char('\\'), -1);
        const QString ext = fileExtension(last);
        const int image = FileTypeImage(ext, filter);
        if (image < 1)
            continue;
        // The entry's place in the list: two entries may share a name, even but for case.
        // The full stored name as the tooltip: the list elides the caption's folder part.
        items.push_back({name.left(name.size() - ext.size()), {ext}, image, static_cast<int>(index), name, name});
    }
    std::stable_sort(items.begin(), items.end(), [](const ListView::Item &a, const ListView::Item &b) {
        return localeCompare(a.caption, b.caption) < 0;
    });
    // The way back sorts first: its caption begins with a blank.
    list->addItem({QStringLiteral(" .."), {}, 1, 0, QString()});
    for (ListView::Item &item : items)
        list->addItem(std::move(item));
    list->endUpdate();
    // The path field names the archive while it is open.
    m_archivePath = path;
    c.EditFileName->setText(displayPath(path));
    list->selectRow(0);
    list->focusList();
    list->scrollToRow(0);
}

void ArchiveBrowser::PreviewArchiveEntry(int row, bool selected)
{
    ListView *list = &zipList();
    if (selected && row >= 0 && row < list->count())
        showEntryFolder(list->item(row).name);
    if (!selected || row < 0 || row >= list->count() || list->item(row).image <= 1)
        return;
    // The component's callback lets window events run, so a click can arrive while an entry is
    // being extracted: it waits until the component is free, and then the entry selected by
    // that time is shown. Nothing re-enters the component.
    if (m_extracting) {
        m_selectionWaiting = true;
        return;
    }
    previewEntry(list->item(row));
    while (m_selectionWaiting) {
        m_selectionWaiting = false;
        const int now = list->selectedRow();
        if (now < 0 || now >= list->count() || list->item(now).image <= 1 || list->item(now).data == m_shownEntry)
            break;
        previewEntry(list->item(now));
    }
}

void ArchiveBrowser::showNoFont()
{
    // Nothing of the previous font stays on show.
    ArchiveTempFile.clear();
    emit statusText(1, QStringLiteral("Default font"));
    emit statusText(2, QString());
    emit statusText(3, QString());
}

// Why the entry may not be extracted for a preview, "" when it may.
QString ArchiveBrowser::refusalFor(const ListView::Item &item, const QString &target) const
{
    const QString &name = item.name;
    const auto &entries = m_zipKit.DirEntries;
    if (m_folder.isEmpty() || item.data < 0 || static_cast<size_t>(item.data) >= entries.size()
        || entries[static_cast<size_t>(item.data)].FileName != name)
        return QStringLiteral("Could not extract ") + name;
    if (target.isEmpty())
        return QStringLiteral("The archive entry %1 was not extracted: its name leads outside the extraction folder.").arg(name);
    return ExtractionGuard::refusal(name, entries[static_cast<size_t>(item.data)].UncompressedSize, ExtractionGuard::Limit,
                                    ExtractionGuard::freeSpace(m_folder), m_folder);
}

void ArchiveBrowser::previewEntry(const ListView::Item item)
{
    emit releaseFontRequested();
    deleteExtractedCopy();
    ArchiveTempFile.clear();
    m_shownEntry = item.data;
    const QString &name = item.name;
    const QString target = zipEntryPath(m_folder, name, true);
    const QString refused = refusalFor(item, target);
    if (!refused.isEmpty()) {
        m_prompter.message(refused, MessageIcon::Error);
        showNoFont();
        return;
    }
    // A file left at the target (by a run that was killed) must not pass for this entry.
    ::unlink(nativePath(target).constData());
    m_zipKit.FSpecEntries.append(item.data);
    const int shown = m_zipKit.ShownMessageCount;
    m_zipKit.LastMessage.clear();
    m_extracting = true;
    m_zipKit.Extract();
    m_extracting = false;
    emit statusText(0, QString());
    if (m_discardExtraction) {
        m_discardExtraction = false;
        ::unlink(nativePath(target).constData());
        showNoFont();
        return;
    }
    if (!RegularFile(target).isOpen()) {
        // The library's own messages reach no box: tell them here, unless the component did.
        if (m_zipKit.ShownMessageCount == shown && !m_zipKit.Cancel)
            m_prompter.message(m_zipKit.LastMessage.isEmpty() ? QStringLiteral("Could not extract ") + name : m_zipKit.LastMessage,
                                        MessageIcon::Error);
        showNoFont();
        return;
    }
    ArchiveTempFile = name;
    emit archiveEntryExtracted(target);
}

void ArchiveBrowser::CloseArchive()
{
    ListView *list = &zipList();
    const int row = list->selectedRow();
    if (row < 0 || list->item(row).image != 1)
        return;
    list->setCollapsed(true);
    m_archivePath.clear();
    m_browser.ListFolder(m_browser.CurrentFolder);
    m_browser.showFolderView();
    list->clear();
    m_browser.selectFirstFile();
}

void ArchiveBrowser::ZipBrowseKeyPress(QChar key)
{
    if (key == QChar(13))
        CloseArchive();
}

void ArchiveBrowser::PopupZipBrowsePopup()
{
    const ListView *list = &zipList();
    const int row = list->selectedRow();
    const bool show = row >= 0 && !list->item(row).subItems.isEmpty() && list->item(row).subItems.value(0) != QLatin1String(" ");
    for (QAction *item : m_popup.actions())
        item->setVisible(show);
}

// The path field: the archive, and inside it the folder part of the selected entry's name.
void ArchiveBrowser::showEntryFolder(const QString &storedName)
{
    if (m_archivePath.isEmpty())
        return;
    const qsizetype cut = storedName.lastIndexOf(QLatin1Char('\\'));
    QString inside = cut < 0 ? QString() : storedName.left(cut + 1);
    inside.replace(QLatin1Char('\\'), QLatin1Char('/'));
    m_browser.controls().EditFileName->setText(displayPath(m_archivePath + (inside.isEmpty() ? QString() : QLatin1Char('/') + inside)));
}

void ArchiveBrowser::unpackTo(const QString &folder)
{
    const QString source = extractedPath();
    if (source.isEmpty())
        return;
    // Unpacking shows nothing new in the lists, so the status bar tells where the file went.
    if (m_operations.deliver(source, folder, source.section(QLatin1Char('/'), -1), TransferMode::Copy))
        emit statusText(0, QStringLiteral("Unpacked to %1").arg(displayPath(withTrailingSlash(folder))));
}

void ArchiveBrowser::PopZipUnpackClick()
{
    if (const auto folder = m_operations.ChooseTargetFolder(QStringLiteral("Unpack to...")))
        unpackTo(*folder);
}

void ArchiveBrowser::PopZipUnpackHereClick()
{
    unpackTo(m_browser.CurrentFolder);
}
