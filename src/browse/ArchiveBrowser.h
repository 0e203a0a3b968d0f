// SPDX-License-Identifier: MIT
#pragma once

#include "ListView.h"
#include "MainState.h"

#include <QObject>

#include <functional>
#include <memory>

class CharacterMap;
class FileOperations;
class FolderBrowser;
class FontLoader;
class QMenu;
class QTemporaryDir;
class TZipKit;

// The archive view: the font entries of a ZIP archive, each previewed by extracting it into the
// process's private extraction folder, unpacked by copying that extracted file.
class ArchiveBrowser : public QObject {
public:
    ArchiveBrowser(MainState &state, MainServices &services, MainControls &controls, TZipKit &zipKit, FolderBrowser &browser,
                   FileOperations &operations, FontLoader &loader, CharacterMap &characterMap, QMenu &popup,
                   std::function<void()> releaseCurrentFont);
    ~ArchiveBrowser() override;

    void OpenArchive(const QString &path);
    void PreviewArchiveEntry(int row, bool selected);
    void CloseArchive();
    void ZipBrowseKeyPress(QChar key);
    void PopupZipBrowsePopup();
    void PopZipUnpackClick();
    void PopZipUnpackHereClick();
    // Takes the archive view out without listing (a drive change lists by itself).
    void leaveArchiveView();
    // The extracted copy of the entry last previewed, "" when there is none.
    QString extractedPath() const;
    void deleteExtractedCopy();
    const QString &extractionFolder() const { return m_folder; }

private:
    void unpackTo(const QString &folder);
    void previewEntry(const ListView::Item item);
    QString refusalFor(const ListView::Item &item, const QString &target) const;
    void showNoFont();

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    TZipKit &m_zipKit;
    FolderBrowser &m_browser;
    FileOperations &m_operations;
    FontLoader &m_loader;
    CharacterMap &m_characterMap;
    QMenu &m_popup;
    std::function<void()> m_releaseCurrentFont;
    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_folder;
    bool m_extracting = false;
    bool m_selectionWaiting = false;
    bool m_discardExtraction = false;
    int m_shownEntry = -1;           // DirEntries index of the entry last previewed
};
