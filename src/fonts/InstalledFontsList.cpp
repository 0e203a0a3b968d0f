// SPDX-License-Identifier: MIT
#include "InstalledFontsList.h"

#include "CharsetTable.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "InstalledFontsRead.h"
#include "ListView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include <future>
#include <utility>

InstalledFontsList::InstalledFontsList(FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey, ListView &fontsList)
    : m_catalogue(catalogue)
    , m_fontsKey(fontsKey)
    , m_fontsRegistryKey(std::move(fontsRegistryKey))
    , m_list(fontsList)
{
    connect(&m_list, &ListView::itemRemoved, this, [this] { m_faceOfFileStale = true; });
}

InstalledFontsList::~InstalledFontsList()
{
    stopWorker();
    if (m_busyCursor)
        QGuiApplication::restoreOverrideCursor();
}

void InstalledFontsList::stopWorker()
{
    if (m_cancel)
        m_cancel->store(true);
    if (m_worker.joinable())
        m_worker.join();
}

bool InstalledFontsList::BuildInstalledFontFiles()
{
    if (!m_fontsKey.keyExists(m_fontsRegistryKey))
        return false;
    for (const FontsRegistry::Value &value : m_fontsKey.values())
        InstalledFontFiles << joinInstalledFontFile(splitFontsValue(value.name, value.data));
    return true;
}

void InstalledFontsList::FillInstalledFontsList()
{
    m_announce = true;
    startReading();
}

void InstalledFontsList::RereadInstalledFontsList()
{
    m_announce = false;
    startReading();
}

void InstalledFontsList::RefreshInstalledFontsList()
{
    if (!m_busyCursor) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        m_busyCursor = true;
    }
    m_selectFirst = true;
    m_announce = true;
    // A read that has shown nothing yet is as fresh as a new one: it is the one waited for.
    if (m_loading && !m_rowsShown)
        return;
    startReading();
}

void InstalledFontsList::startReading()
{
    stopWorker();
    const quint64 generation = ++m_generation;
    m_loading = true;
    m_rowsShown = false;
    m_snapshot.reset();
    m_progressShown = 0;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    emit statusText(0, QStringLiteral("Reading fonts\u2026"));
    const QString cacheFolder = m_catalogue.cacheFolder();
    const QString fontsFolder = m_fontsKey.systemFontsFolder();
    const bool keyExists = m_fontsKey.keyExists(m_fontsRegistryKey);
    // What the window asks of the installed faces meanwhile (the face to draw the sample in) waits
    // for this read rather than reading them all a second time on the GUI thread.
    // The faces are held once, in the promise's state, by the catalogue, the worker and this list.
    auto facts = std::make_shared<std::promise<std::vector<CatalogueFont>>>();
    m_readFonts = facts->get_future().share();
    m_catalogue.expectSystemFonts(m_readFonts);
    m_worker = std::thread([this, generation, cacheFolder, fontsFolder, keyExists, cancel = m_cancel, facts, read = m_readFonts] {
        auto progress = [this, generation](std::size_t done, std::size_t total) {
            QMetaObject::invokeMethod(this, [this, generation, done, total] { progressed(generation, done, total); }, Qt::QueuedConnection);
        };
        auto factsRead = [&facts, &read](std::vector<CatalogueFont> &&fonts) -> const std::vector<CatalogueFont> & {
            facts->set_value(std::move(fonts));
            return read.get();
        };
        auto snapshot = std::make_shared<InstalledFontsSnapshot>(readInstalledFonts(cacheFolder, fontsFolder, keyExists, progress, cancel.get(), factsRead));
        if (snapshot->cancelled)
            return;
        QMetaObject::invokeMethod(this, [this, generation, snapshot] { snapshotRead(generation, snapshot); }, Qt::QueuedConnection);
    });
}

namespace {

QString countText(qulonglong n)
{
    return QLocale(QLocale::English).toString(n);
}

}

void InstalledFontsList::progressed(quint64 generation, qulonglong done, qulonglong total)
{
    if (generation != m_generation || !m_loading || m_snapshot)
        return;
    // One line per thousand faces is enough to show that the read moves on.
    if (done < total && done - m_progressShown < 1000)
        return;
    m_progressShown = done;
    emit statusText(0, QStringLiteral("Reading fonts\u2026 %1 of %2").arg(countText(done), countText(total)));
}

void InstalledFontsList::snapshotRead(quint64 generation, std::shared_ptr<InstalledFontsSnapshot> snapshot)
{
    if (generation != m_generation)
        return;
    if (m_worker.joinable())
        m_worker.join();
    if (const auto read = std::exchange(m_readFonts, {}); read.valid())
        // Moved out of the read's shared state, not copied: the worker that read it has ended, and
        // the catalogue, the only other holder, lets go of it as it adopts the faces.
        m_catalogue.adoptSystemFonts(std::move(const_cast<std::vector<CatalogueFont> &>(read.get())));
    else
        m_catalogue.adoptSystemFonts(std::move(snapshot->fonts));
    InstalledFontFiles = snapshot->installedFontFiles;
    m_faceOfFileStale = true;
    m_snapshot = std::move(snapshot);
    m_nextRow = 0;
    insertBatch(generation);
}

void InstalledFontsList::insertBatch(quint64 generation)
{
    if (generation != m_generation || !m_snapshot)
        return;
    const bool ready = FontsListReady;
    FontsListReady = false;
    if (m_nextRow == 0) {
        m_list.clear();
        m_rowsShown = true;
    }
    // The rows go into the list; the snapshot keeps only those still to come.
    std::vector<InstalledFontRow> &rows = m_snapshot->rows;
    const std::size_t end = std::min(rows.size(), m_nextRow + static_cast<std::size_t>(m_batchRows));
    std::vector<ListView::Item> items;
    items.reserve(end - m_nextRow);
    for (std::size_t i = m_nextRow; i < end; ++i)
        items.push_back({std::move(rows[i].caption), std::move(rows[i].subItems), rows[i].image, 0, QString()});
    m_list.addItems(std::move(items));
    m_nextRow = end;
    FontsListReady = ready;
    if (m_nextRow < rows.size()) {
        emit statusText(0, QStringLiteral("Listing fonts\u2026 %1 of %2").arg(countText(m_nextRow), countText(rows.size())));
        // The rest comes after the events that waited: the window answers between batches.
        QMetaObject::invokeMethod(this, [this, generation] { insertBatch(generation); }, Qt::QueuedConnection);
        return;
    }
    finish();
}

void InstalledFontsList::finish()
{
    m_snapshot.reset();
    m_loading = false;
    emit statusText(0, QString());
    if (m_busyCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_busyCursor = false;
    }
    const bool selectFirst = std::exchange(m_selectFirst, false);
    // A row the user chose while the rows came stays chosen and shown.
    if (m_list.selectedRow() < 0) {
        if (m_announce && m_list.count() > 0)
            emit listFilled(m_list.item(0).caption);
        if (selectFirst) {
            m_list.selectRow(0);
            m_list.focusList();
            m_list.scrollToRow(0);
        }
    }
    emit loaded();
}

void InstalledFontsList::waitUntilLoaded()
{
    while (m_loading)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void InstalledFontsList::EnumerateFaceNames(QStringList &list)
{
    list << faceNamesOf(m_catalogue.enumerate(EnumCharset::Ansi));
}

int InstalledFontsList::CharsetCodeOfSelection(int row) const
{
    return CharsetCode(m_list.item(row).subItems.value(FontsListColumn::Charset));
}

QString InstalledFontsList::faceOfFile(const QString &fileName) const
{
    if (m_faceOfFileStale) {
        // The rows in the list, then those of the running read still to come: the list as it will be.
        m_faceOfFileName.clear();
        auto add = [this](const QString &caption, const QStringList &subItems) {
            const QString &file = subItems[FontsListColumn::FileName];
            m_faceOfFileName.insert(file.mid(file.lastIndexOf(QLatin1Char('/')) + 1), caption);
        };
        for (int row = 0; row < m_list.count(); ++row)
            if (m_list.item(row).subItems.size() > FontsListColumn::FileName)
                add(m_list.item(row).caption, m_list.item(row).subItems);
        if (m_snapshot)
            for (std::size_t row = m_nextRow; row < m_snapshot->rows.size(); ++row)
                add(m_snapshot->rows[row].caption, m_snapshot->rows[row].subItems);
        m_faceOfFileStale = false;
    }
    return m_faceOfFileName.value(fileName);
}
