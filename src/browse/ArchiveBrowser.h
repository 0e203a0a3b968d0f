// SPDX-License-Identifier: MIT
#pragma once

#include "FolderBrowser.h"
#include "ListView.h"

#include <QObject>

#include <memory>

class FileOperations;
class Prompter;
class QMenu;
class QTemporaryDir;
class TZipKit;

// The archive view: the font entries of a ZIP archive, each previewed by extracting it into the
// process's private extraction folder, unpacked by copying that extracted file.
class ArchiveBrowser : public QObject {
    Q_OBJECT
public:
    ArchiveBrowser(Prompter &prompter, TZipKit &zipKit, FolderBrowser &browser, FileOperations &operations, QMenu &popup);
    ~ArchiveBrowser() override;

    void OpenArchive(const QString &path);
    void PreviewArchiveEntry(int row, bool selected);
    void CloseArchive();
    void ZipBrowseKeyPress(QChar key);
    void PopupZipBrowsePopup();
    void PopZipUnpackClick();
    void PopZipUnpackHereClick();
    // The extracted copy of the entry last previewed, "" when there is none.
    QString extractedPath() const;
    void deleteExtractedCopy();
    const QString &extractionFolder() const { return m_folder; }
    // An entry is being extracted.
    bool extracting() const { return m_extracting; }

    // The archive name of the entry last extracted for a preview, "" when none is shown.
    QString ArchiveTempFile;

signals:
    // The font shown so far is to be given back before another is extracted.
    void releaseFontRequested();
    // An entry was extracted for a preview; the file at the path is its copy.
    void archiveEntryExtracted(const QString &path);
    void statusText(int panel, const QString &text);

private:
    void unpackTo(const QString &folder);
    void showEntryFolder(const QString &storedName);
    void previewEntry(const ListView::Item item);
    QString refusalFor(const ListView::Item &item, const QString &target) const;
    void showNoFont();
    ListView &zipList() const { return *m_browser.controls().ZipBrowse; }

    Prompter &m_prompter;
    TZipKit &m_zipKit;
    FolderBrowser &m_browser;
    FileOperations &m_operations;
    QMenu &m_popup;
    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_folder;
    QString m_archivePath;           // the archive shown, "" when none
    bool m_extracting = false;
    bool m_selectionWaiting = false;
    bool m_discardExtraction = false;
    int m_shownEntry = -1;           // DirEntries index of the entry last previewed
};
