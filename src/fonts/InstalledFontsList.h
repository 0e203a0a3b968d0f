// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

class FontCatalogue;
class FontsRegistry;
class ListView;
struct CatalogueFont;
struct InstalledFontRow;
struct InstalledFontsSnapshot;

// The installed-fonts list of the Fonts view (FontsList) and the installed-face list that font
// loading uses. The list is read on a worker thread; its rows arrive in batches while the window
// stays usable, with the progress in the status bar.
class InstalledFontsList : public QObject {
    Q_OBJECT
public:
    InstalledFontsList(FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey, ListView &fontsList);
    ~InstalledFontsList() override;

    bool BuildInstalledFontFiles();
    // Starts reading the installed fonts; the rows replace the list's as they come.
    void FillInstalledFontsList();
    // Reads the Fonts key again, refills the list and selects its first row. A refresh while a
    // read runs that has not shown rows yet waits for it; otherwise the running read is dropped
    // and a new one starts, so that the list never holds rows of two reads.
    void RefreshInstalledFontsList();
    // Reads the list again after the fonts changed (an install, an uninstall) without announcing
    // it: no first row is selected and listFilled is not emitted, so the views keep what they show.
    void RereadInstalledFontsList();
    void EnumerateFaceNames(QStringList &list);
    // The charset of a row's "Charset" cell.
    int CharsetCodeOfSelection(int row) const;
    // The caption of the last row whose "File Name" names a file of this name.
    QString faceOfFile(const QString &fileName) const;

    bool loading() const { return m_loading; }
    // Runs the event loop until the running read has put all its rows into the list.
    void waitUntilLoaded();

    ListView &list() { return m_list; }
    const QString &fontsRegistryKey() const { return m_fontsRegistryKey; }

    // Face, type and file of each value of the Fonts key (joined by line feeds).
    QStringList InstalledFontFiles;
    // False while rows are being put into the list: a selection then shows nothing.
    bool FontsListReady = true;

    // Rows put into the list per turn of the event loop.
    static constexpr int kBatchRows = 2000;
    void setBatchRows(int rows) { m_batchRows = std::max(1, rows); }

signals:
    // The list was filled; its first row's face is the one to show the sample in.
    void listFilled(const QString &firstFace);
    void statusText(int panel, const QString &text);
    // Every row of a read is in the list.
    void loaded();

private:
    void startReading();
    void progressed(quint64 generation, qulonglong done, qulonglong total);
    void snapshotRead(quint64 generation, std::shared_ptr<InstalledFontsSnapshot> snapshot);
    void insertBatch(quint64 generation);
    void finish();
    void stopWorker();

    FontCatalogue &m_catalogue;
    FontsRegistry &m_fontsKey;
    QString m_fontsRegistryKey;
    ListView &m_list;

    quint64 m_generation = 0;
    bool m_loading = false;
    bool m_rowsShown = false;       // the running read has put rows into the list
    bool m_selectFirst = false;     // a refresh waits for the running read
    bool m_announce = true;         // the running read ends with listFilled
    bool m_busyCursor = false;
    std::shared_ptr<std::atomic_bool> m_cancel;
    std::thread m_worker;
    std::shared_ptr<InstalledFontsSnapshot> m_snapshot;
    std::shared_future<std::vector<CatalogueFont>> m_readFonts;   // the faces of the running read
    std::size_t m_nextRow = 0;
    int m_batchRows = kBatchRows;
    quint64 m_progressShown = 0;
    // The face of each installed file name, for faceOfFile: built when first asked after the rows
    // changed (a read, a row taken out by an uninstall).
    mutable QHash<QString, QString> m_faceOfFileName;
    mutable bool m_faceOfFileStale = true;
};
