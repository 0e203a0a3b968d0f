// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"
#include "InstalledFonts.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

// Everything the installed-fonts list needs from the system, read in one go and with no GUI, so
// that it can be read on a worker thread: the installed faces with their facts, the Fonts-key
// view of them (InstalledFontFiles), and the sorted rows of the list.
struct InstalledFontsSnapshot {
    std::vector<CatalogueFont> fonts;   // empty when handed over while the read went on
    QStringList installedFontFiles;   // face, type and file of each value, joined by line feeds
    QStringList entryFiles;           // the file behind each of those values
    std::vector<InstalledFontRow> rows;
    bool cancelled = false;
};

// The Fonts-key values of the faces: InstalledFontFiles and the file behind each entry.
void fontsKeyEntries(const std::vector<CatalogueFont> &fonts, const QString &systemFontsFolder, QStringList &installedFontFiles,
                     QStringList &entryFiles);
// The rows of the installed list: installed faces only (a font this process only previews is not
// installed), each looked up through one index of the Fonts-key entries.
std::vector<InstalledFontRow> installedRowsOf(const std::vector<CatalogueFont> &fonts, const QStringList &installedFontFiles,
                                              const QStringList &entryFiles);

// Reads through a catalogue of its own over the given facts cache (fontconfig and FreeType handles
// of the calling thread). progress is called from the reading threads; cancel stops the read soon;
// factsRead, when given, takes the installed faces as soon as their facts are read, before the rows
// are made, and returns where the read finds them from then on (they are then not in the snapshot).
// keyExists false leaves InstalledFontFiles empty, as an unreadable Fonts key does.
using FactsHandOver = std::function<const std::vector<CatalogueFont> &(std::vector<CatalogueFont> &&)>;
InstalledFontsSnapshot readInstalledFonts(const QString &cacheFolder, const QString &systemFontsFolder, bool keyExists,
                                          const std::function<void(std::size_t, std::size_t)> &progress = {},
                                          const std::atomic_bool *cancel = nullptr, const FactsHandOver &factsRead = {});

// A read of the installed faces started as the program starts, before the toolkit and the window
// are set up, for the installed list's first read to take instead of reading them itself. Only the
// first read over the same facts cache takes it; endInstalledFacesHeadStart stops one never taken.
void startInstalledFacesHeadStart(const QString &cacheFolder);
void endInstalledFacesHeadStart();
