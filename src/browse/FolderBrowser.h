// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <vector>

class InstalledFontsList;
class ListView;
class Prompter;
class QComboBox;
class QLineEdit;

// A place the drive box offers: the home folder or a mounted volume.
struct DriveEntry {
    QString caption;      // "label (mount point)"
    QString mountPoint;   // ends in "/"
};
std::vector<DriveEntry> availableDrives();

// The controls of the navigation box.
struct NavigationControls {
    QComboBox *DisksBrowse = nullptr;
    QLineEdit *EditFileName = nullptr;
    ListView *FilesBrowse = nullptr;
    ListView *FontsList = nullptr;
    ListView *ZipBrowse = nullptr;
    QWidget *PanelSelectExt = nullptr;
    QComboBox *SelectExt = nullptr;
};

// The navigation box: drives, folders, the extension filter, the three lists and their views.
// It tells what the user chose; loading a font or opening an archive is for others to do.
class FolderBrowser : public QObject {
    Q_OBJECT
public:
    FolderBrowser(Prompter &prompter, const NavigationControls &controls, InstalledFontsList &installed);

    bool ListFolder(const QString &path);
    void RebuildDriveList(const QString &path);
    void DisksBrowseChange();
    void SelectExtChange();
    void FilesBrowseDblClick();
    void FilesBrowseKeyPress(QChar key);
    void FilesBrowseSelectItem(int row, bool selected);
    bool GoToFolder(const QString &path);
    void Refresh1Click();
    void EditFileNameMouseDown();
    void EditFileNameExit();
    void EditFileNameKeyPress(QChar key);
    void setViewStyle(int style);
    void showFontsView();
    void showFolderView();
    // Takes the archive view out without listing (a drive change lists by itself).
    void leaveArchiveView();
    void selectFirstFile();
    // 0 Folder, 1 Fonts, 2 Archive: the list that has a height.
    int activeView() const;
    const NavigationControls &controls() const { return m_controls; }

    // The folder shown, ending in "/", or "fonts" for the Fonts view.
    QString CurrentFolder;
    // Tests replace the drive list.
    std::function<std::vector<DriveEntry>()> drives = availableDrives;

signals:
    // A font file of the folder list was selected.
    void fontFileChosen(const QString &path);
    // A folder, an archive or the way up was selected: nothing to install.
    void nonFontChosen();
    // A ZIP archive was opened by a double click or Enter.
    void archiveChosen(const QString &path);
    // The drive box switched to the Fonts view, or to a drive.
    void installedFontsViewShown();
    void folderViewShown();

private:
    Prompter &m_prompter;
    NavigationControls m_controls;
    InstalledFontsList &m_installed;
};
