// SPDX-License-Identifier: MIT
#include "InstalledFontsRead.h"

#include "FontsRegistry.h"

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
    {
        // The reader's own list goes with it: the faces are held once from here on.
        FontCatalogue reader(cacheFolder);
        reader.setProgress(progress, cancel);
        snapshot.fonts = reader.systemFonts();
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
