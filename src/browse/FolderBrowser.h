// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <QObject>

#include <functional>
#include <vector>

class CharacterMap;
class FontLoader;
class InstalledFontsList;

// A place the drive box offers: the home folder or a mounted volume.
struct DriveEntry {
    QString caption;      // "label (mount point)"
    QString mountPoint;   // ends in "/"
};
std::vector<DriveEntry> availableDrives();

// The navigation box: drives, folders, the extension filter, the three lists and their views.
class FolderBrowser : public QObject {
public:
    FolderBrowser(MainState &state, MainServices &services, MainControls &controls, InstalledFontsList &installed,
                  FontLoader &loader, CharacterMap &characterMap, std::function<void()> releaseCurrentFont);

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
    void selectFirstFile();

    // The archive view (set by the archive browser).
    std::function<void(const QString &)> openArchive;
    std::function<void()> closeArchiveView;
    // Tests replace the drive list.
    std::function<std::vector<DriveEntry>()> drives = availableDrives;

private:
    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    InstalledFontsList &m_installed;
    FontLoader &m_loader;
    CharacterMap &m_characterMap;
    std::function<void()> m_releaseCurrentFont;
};
