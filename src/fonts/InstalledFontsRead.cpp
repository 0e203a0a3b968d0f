// SPDX-License-Identifier: MIT
#include "InstalledFontsRead.h"

#include "FontsRegistry.h"

#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

namespace {

struct HeadStart {
    QString cacheFolder;
    std::thread thread;
    std::future<std::vector<CatalogueFont>> fonts;
    std::atomic_bool cancel{false};
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
};

std::mutex g_headStartLock;
std::unique_ptr<HeadStart> g_headStart;

// The head start's faces when it reads over this cache and no read has taken it yet; nullopt
// otherwise, or when the read was cancelled meanwhile. Its progress is told as it goes.
std::optional<std::vector<CatalogueFont>> takeHeadStart(const QString &cacheFolder, const std::function<void(std::size_t, std::size_t)> &progress,
                                                        const std::atomic_bool *cancel)
{
    std::unique_ptr<HeadStart> head;
    {
        const std::lock_guard lock(g_headStartLock);
        if (!g_headStart || g_headStart->cacheFolder != cacheFolder)
            return std::nullopt;
        head = std::move(g_headStart);
    }
    while (head->fonts.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        if (cancel && cancel->load())
            head->cancel.store(true);
        if (progress && head->total.load() > 0)
            progress(head->done.load(), head->total.load());
    }
    head->thread.join();
    if (cancel && cancel->load())
        return std::nullopt;
    return head->fonts.get();
}

}

void startInstalledFacesHeadStart(const QString &cacheFolder)
{
    const std::lock_guard lock(g_headStartLock);
    if (g_headStart)
        return;
    auto head = std::make_unique<HeadStart>();
    head->cacheFolder = cacheFolder;
    std::promise<std::vector<CatalogueFont>> promise;
    head->fonts = promise.get_future();
    HeadStart *state = head.get();
    head->thread = std::thread([state, cacheFolder, promise = std::move(promise)]() mutable {
        FontCatalogue reader(cacheFolder);
        reader.setProgress([state](std::size_t done, std::size_t total) {
            state->done.store(done);
            state->total.store(total);
        }, &state->cancel);
        promise.set_value(reader.takeSystemFonts());
    });
    g_headStart = std::move(head);
}

void endInstalledFacesHeadStart()
{
    std::unique_ptr<HeadStart> head;
    {
        const std::lock_guard lock(g_headStartLock);
        head = std::move(g_headStart);
    }
    if (!head)
        return;
    head->cancel.store(true);
    head->thread.join();
}

void fontsKeyEntries(const std::vector<CatalogueFont> &fonts, const QString &systemFontsFolder, QStringList &installedFontFiles,
                     QStringList &entryFiles)
{
    const std::vector<FontsRegistry::Value> values = FontsRegistry::valuesOf(fonts, systemFontsFolder);
    installedFontFiles.reserve(static_cast<qsizetype>(values.size()));
    entryFiles.reserve(static_cast<qsizetype>(values.size()));
    for (const FontsRegistry::Value &value : values) {
        installedFontFiles << joinInstalledFontFile(splitFontsValue(value.name, value.data));
        entryFiles << value.file;
    }
}

std::vector<InstalledFontRow> installedRowsOf(const std::vector<CatalogueFont> &fonts, const QStringList &installedFontFiles,
                                              const QStringList &entryFiles)
{
    std::vector<const CatalogueFont *> installed;
    installed.reserve(fonts.size());
    for (const CatalogueFont &font : fonts)
        if (!font.temporary)
            installed.push_back(&font);
    std::vector<InstalledFontRow> rows;
    {
        // The faces and the index are let go before the sort makes its keys.
        const std::vector<EnumeratedFace> faces = FontCatalogue::enumerateFonts(installed, EnumCharset::Default);
        rows = unsortedInstalledFontRows(faces, InstalledFontIndex(installedFontFiles, entryFiles));
    }
    sortInstalledFontRows(rows);
    return rows;
}

InstalledFontsSnapshot readInstalledFonts(const QString &cacheFolder, const QString &systemFontsFolder, bool keyExists,
                                          const std::function<void(std::size_t, std::size_t)> &progress, const std::atomic_bool *cancel,
                                          const FactsHandOver &factsRead)
{
    InstalledFontsSnapshot snapshot;
    if (std::optional<std::vector<CatalogueFont>> early = takeHeadStart(cacheFolder, progress, cancel)) {
        snapshot.fonts = std::move(*early);
    } else {
        FontCatalogue reader(cacheFolder);
        reader.setProgress(progress, cancel);
        snapshot.fonts = reader.takeSystemFonts();
    }
    if (cancel && cancel->load()) {
        snapshot.cancelled = true;
        return snapshot;
    }
    // Faces handed over are read where they went, not copied.
    const std::vector<CatalogueFont> &fonts = factsRead ? factsRead(std::move(snapshot.fonts)) : snapshot.fonts;
    QStringList entryFiles;
    fontsKeyEntries(fonts, systemFontsFolder, snapshot.installedFontFiles, entryFiles);
    // The rows still find each face's file when the key cannot be read.
    snapshot.rows = installedRowsOf(fonts, keyExists ? snapshot.installedFontFiles : QStringList(), keyExists ? entryFiles : QStringList());
    if (keyExists)
        snapshot.entryFiles = std::move(entryFiles);
    else
        snapshot.installedFontFiles.clear();
    snapshot.cancelled = cancel && cancel->load();
    return snapshot;
}
