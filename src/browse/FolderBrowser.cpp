// SPDX-License-Identifier: MIT
#include "FolderBrowser.h"

#include "FolderListing.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "NativePaths.h"
#include "Paths.h"
#include "Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStorageInfo>

namespace {

// File systems that hold no files of a user's.
bool isPseudoFileSystem(const QByteArray &type)
{
    static const QByteArrayList pseudo = {"proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "pstore",
                                          "bpf", "tracefs", "debugfs", "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs",
                                          "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "ramfs", "squashfs", "fuse.portal",
                                          "fuse.gvfsd-fuse", "overlay"};
    return pseudo.contains(type);
}

bool isSystemMount(const QString &root)
{
    for (const char *prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib", "/etc"}) {
        const QString p = QString::fromLatin1(prefix);
        if (root == p || root.startsWith(p + QLatin1Char('/')))
            return !root.startsWith(QStringLiteral("/run/media/"));
    }
    return false;
}

}

std::vector<DriveEntry> availableDrives()
{
    std::vector<DriveEntry> drives;
    drives.push_back({QStringLiteral("Home (") + QDir::homePath() + QLatin1Char(')'), withTrailingSlash(QDir::homePath())});
    std::vector<DriveEntry> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || isPseudoFileSystem(volume.fileSystemType()) || isSystemMount(root))
            continue;
        QString label = volume.name();
        if (label.isEmpty())
            label = root == QLatin1String("/") ? QStringLiteral("System") : QFileInfo(root).fileName();
        volumes.push_back({label + QStringLiteral(" (") + root + QLatin1Char(')'), withTrailingSlash(root)});
    }
    std::sort(volumes.begin(), volumes.end(), [](const DriveEntry &a, const DriveEntry &b) { return a.mountPoint < b.mountPoint; });
    for (DriveEntry &v : volumes)
        if (std::none_of(drives.begin(), drives.end(), [&](const DriveEntry &d) { return d.mountPoint == v.mountPoint; }))
            drives.push_back(std::move(v));
    return drives;
}

FolderBrowser::FolderBrowser(Prompter &prompter, const NavigationControls &controls, InstalledFontsList &installed)
    : m_prompter(prompter)
    , m_controls(controls)
    , m_installed(installed)
{
}

int FolderBrowser::activeView() const
{
    if (!m_controls.FilesBrowse->collapsed())
        return 0;
    if (!m_controls.FontsList->collapsed())
        return 1;
    return 2;
}

void FolderBrowser::leaveArchiveView()
{
    m_controls.ZipBrowse->setCollapsed(true);
    m_controls.ZipBrowse->clear();
    m_controls.FilesBrowse->setCollapsed(false);
}

void FolderBrowser::showFontsView()
{
    m_controls.FilesBrowse->setCollapsed(true);
    m_controls.ZipBrowse->setCollapsed(true);
    m_controls.FontsList->setCollapsed(false);
    m_controls.PanelSelectExt->hide();
}

void FolderBrowser::showFolderView()
{
    m_controls.FontsList->setCollapsed(true);
    m_controls.FilesBrowse->setCollapsed(false);
    m_controls.PanelSelectExt->show();
}

void FolderBrowser::RebuildDriveList(const QString &path)
{
    QComboBox *box = m_controls.DisksBrowse;
    box->clear();
    int preselected = -1;
    int match = -1;
    int matchLength = -1;
    const QString folder = withTrailingSlash(path);
    for (const DriveEntry &drive : drives()) {
        box->addItem(drive.caption, drive.mountPoint);
        const int index = box->count() - 1;
        if (preselected < 0)
            preselected = index;
        if (path != QLatin1String("fonts") && folder.startsWith(drive.mountPoint) && drive.mountPoint.size() > matchLength) {
            match = index;
            matchLength = static_cast<int>(drive.mountPoint.size());
        }
    }
    box->addItem(QStringLiteral("Fonts"));
    if (path == QLatin1String("fonts"))
        box->setCurrentIndex(box->count() - 1);
    else
        box->setCurrentIndex(match >= 0 ? match : preselected);
}

bool FolderBrowser::ListFolder(const QString &path)
{
    if (path == QLatin1String("fonts")) {
        m_controls.DisksBrowse->setCurrentIndex(m_controls.DisksBrowse->count() - 1);
        DisksBrowseChange();
        m_controls.EditFileName->setText(QStringLiteral("fonts"));
        return true;
    }
    if (!m_controls.ZipBrowse->collapsed())
        leaveArchiveView();
    showFolderView();
    QString working = path;
    if (!working.endsWith(QLatin1Char('/')) && !isRegularFile(working))
        working += QLatin1Char('/');

    QApplication::setOverrideCursor(Qt::WaitCursor);
    ListView *list = m_controls.FilesBrowse;
    list->beginUpdate();
    list->clear();
    RebuildDriveList(working);
    std::vector<FolderEntry> entries;
    const bool listed = listFolderEntries(working, m_controls.SelectExt->currentIndex(), entries);
    for (const FolderEntry &e : entries)
        list->addItem({e.caption, {e.extension}, e.image, e.kind, e.fileName});
    list->endUpdate();
    QApplication::restoreOverrideCursor();
    if (!listed)
        return false;
    CurrentFolder = working.endsWith(QLatin1String("/../")) ? ParentFolderOf(working) : working;
    m_controls.EditFileName->setText(CurrentFolder);
    return true;
}

void FolderBrowser::DisksBrowseChange()
{
    QComboBox *box = m_controls.DisksBrowse;
    if (box->currentIndex() >= box->count() - 1) {
        showFontsView();
        emit installedFontsViewShown();
        CurrentFolder = QStringLiteral("fonts");
        m_controls.EditFileName->setText(QStringLiteral("fonts"));
        return;
    }
    const QString mountPoint = box->currentData().toString();
    const QStorageInfo volume(mountPoint);
    if (!volume.isValid() || !volume.isReady() || volume.bytesAvailable() < 0) {
        m_prompter.message(QStringLiteral("Insert your disk, please!"), MessageIcon::Error);
        box->setCurrentIndex(std::min(1, box->count() - 1));
    }
    if (!m_controls.FontsList->collapsed())
        showFolderView();
    if (!m_controls.ZipBrowse->collapsed())
        leaveArchiveView();
    ListFolder(box->currentIndex() >= box->count() - 1 ? QStringLiteral("fonts") : box->currentData().toString());
    emit folderViewShown();
    m_controls.PanelSelectExt->show();
    selectFirstFile();
}

void FolderBrowser::selectFirstFile()
{
    ListView *list = m_controls.FilesBrowse;
    list->selectRow(0);
    list->focusList();
    list->scrollToRow(0);
}

void FolderBrowser::SelectExtChange()
{
    ListFolder(CurrentFolder);
}

void FolderBrowser::FilesBrowseDblClick()
{
    ListView *list = m_controls.FilesBrowse;
    const int row = list->selectedRow();
    if (row < 0 || list->item(row).subItems.value(0) != QLatin1String(" "))
        return;
    const ListView::Item item = list->item(row);
    // The whole name on disk: an archive's extension keeps its case, and blanks stay.
    const QString name = item.name.isEmpty() ? item.caption.trimmed() : item.name;
    if (item.image == 4) {
        emit archiveChosen(CurrentFolder + name);
        return;
    }
    GoToFolder(CurrentFolder + name);
}

void FolderBrowser::FilesBrowseKeyPress(QChar key)
{
    if (key == QChar(13))
        FilesBrowseDblClick();
}

void FolderBrowser::FilesBrowseSelectItem(int row, bool selected)
{
    ListView *list = m_controls.FilesBrowse;
    if (row >= 0 && row < list->count()) {
        const ListView::Item &item = list->item(row);
        if (selected && item.subItems.value(0) != QLatin1String(" "))
            emit fontFileChosen(CurrentFolder + (item.name.isEmpty() ? item.caption + item.subItems.value(0) : item.name));
        else if (item.subItems.value(0) == QLatin1String(" "))
            emit nonFontChosen();
    }
}

bool FolderBrowser::GoToFolder(const QString &path)
{
    const bool listed = ListFolder(path);
    selectFirstFile();
    return listed;
}

void FolderBrowser::Refresh1Click()
{
    QComboBox *box = m_controls.DisksBrowse;
    if (box->currentIndex() != box->count() - 1) {
        ListFolder(CurrentFolder);
        selectFirstFile();
    } else {
        m_installed.RefreshInstalledFontsList();
        m_controls.EditFileName->setText(QStringLiteral("fonts"));
    }
}

void FolderBrowser::EditFileNameMouseDown()
{
    QPalette palette = m_controls.EditFileName->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    m_controls.EditFileName->setPalette(palette);
}

void FolderBrowser::EditFileNameExit()
{
    QPalette palette = m_controls.EditFileName->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Highlight));
    m_controls.EditFileName->setPalette(palette);
}

void FolderBrowser::EditFileNameKeyPress(QChar key)
{
    if (key != QChar(13))
        return;
    const QString text = m_controls.EditFileName->text();
    if (text.toLower() == QLatin1String("fonts"))
        GoToFolder(QStringLiteral("fonts"));
    else if (isDirectory(text))
        GoToFolder(text);
}

void FolderBrowser::setViewStyle(int style)
{
    for (ListView *list : {m_controls.FilesBrowse, m_controls.FontsList, m_controls.ZipBrowse})
        list->setViewStyle(static_cast<ListView::ViewStyle>(style));
}
