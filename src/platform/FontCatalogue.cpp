// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"

#include "PrivateFamily.h"

#include "AtomicFile.h"
#include "FontFactsCache.h"
#include "FontFamilies.h"
#include "NativeFile.h"
#include "Paths.h"
#include "ToolkitFonts.h"
#include "WebFont.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>

namespace {

// A file name from fontconfig: bytes, kept as they are.
QString fcPath(FcPattern *pattern)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &value) == FcResultMatch && value)
        return pathFromNative(reinterpret_cast<const char *>(value));
    return {};
}

}

FontCatalogue::FontCatalogue(QString cacheFolder, ToolkitFonts *toolkit)
    : m_cacheFolder(withTrailingSlash(cacheFolder))
    , m_cacheFile(m_cacheFolder + kCacheFileName)
    , m_toolkit(toolkit)
{
}

FontCatalogue::~FontCatalogue()
{
    for (const Temporary &t : m_temporary)
        if (t.toolkitId >= 0 && m_toolkit)
            m_toolkit->removeFont(t.toolkitId);
    retireDrawn();
    dropRetired();
}

void FontCatalogue::dropRetired()
{
    if (m_toolkit)
        for (int id : m_retiredToolkitIds)
            m_toolkit->removeFont(id);
    m_retiredToolkitIds.clear();
}

void FontCatalogue::rescan()
{
    forgetSystemFontConfig();
    m_systemLoaded = false;
    m_pendingSystem = {};
    m_system.clear();
    dropIndexes();
}

void FontCatalogue::dropIndexes()
{
    m_faceIndexBuilt = false;
    m_families.clear();
    m_fullNames.clear();
    m_nextInFamily.clear();
    // The faces already given stay with the toolkit, since widgets may still draw them (they are
    // copies, whatever happened to the files); they are asked for anew and given back in turn.
    for (Drawn &drawn : m_drawn)
        drawn.key.clear();
    m_fileIndexBuilt = false;
    m_canonicalFiles.clear();
    m_filesBySize.clear();
}

void FontCatalogue::setProgress(std::function<void(std::size_t, std::size_t)> progress, const std::atomic_bool *cancel)
{
    m_progress = std::move(progress);
    m_cancel = cancel;
}

const std::vector<CatalogueFont> &FontCatalogue::systemFonts()
{
    if (!m_systemLoaded)
        loadSystemFonts();
    return m_system;
}

std::vector<CatalogueFont> FontCatalogue::takeSystemFonts()
{
    systemFonts();
    std::vector<CatalogueFont> fonts = std::move(m_system);
    m_system.clear();
    m_systemLoaded = false;
    dropIndexes();
    return fonts;
}

void FontCatalogue::expectSystemFonts(std::shared_future<std::vector<CatalogueFont>> fonts)
{
    m_pendingSystem = std::move(fonts);
}

void FontCatalogue::adoptSystemFonts(std::vector<CatalogueFont> fonts)
{
    m_pendingSystem = {};
    m_system = std::move(fonts);
    m_systemLoaded = true;
    dropIndexes();
}

void FontCatalogue::rescan(const QString &changedFolder)
{
    rescanFontFolder(changedFolder);
    rescan();
}

void FontCatalogue::loadSystemFonts()
{
    m_system.clear();
    if (m_pendingSystem.valid()) {
        const auto pending = std::exchange(m_pendingSystem, {});
        try {
            m_system = pending.get();
            m_systemLoaded = true;
            return;
        } catch (const std::future_error &) {
            // That read was dropped before it had the faces: they are read here.
        }
    }
    FcConfig *config = FcInitLoadConfigAndFonts();
    if (config) {
        if (FcFontSet *set = FcConfigGetFonts(config, FcSetSystem)) {
            m_system.reserve(set->nfont);
            QByteArray lastFormat;
            QString lastFormatText;
            for (int i = 0; i < set->nfont; ++i) {
                FcPattern *pattern = set->fonts[i];
                int index = 0;
                FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
                FcBool variable = FcFalse;
                // Named instances of variable fonts are not files of their own.
                if ((index >> 16) != 0 || (FcPatternGetBool(pattern, FC_VARIABLE, 0, &variable) == FcResultMatch && variable))
                    continue;
                CatalogueFont font;
                font.file = fcPath(pattern);
                font.index = index;
                // Formats repeat from face to face: they share one string.
                FcChar8 *format = nullptr;
                if (FcPatternGetString(pattern, FC_FONTFORMAT, 0, &format) == FcResultMatch && format) {
                    const char *bytes = reinterpret_cast<const char *>(format);
                    if (lastFormat != bytes) {
                        lastFormat = bytes;
                        lastFormatText = QString::fromUtf8(bytes);
                    }
                    font.format = lastFormatText;
                }
                if (!font.file.isEmpty())
                    m_system.push_back(std::move(font));
            }
        }
        FcConfigDestroy(config);
    }
    fillFacts(m_system);
    m_systemLoaded = true;
}

namespace {

// A face's file as the facts cache knows it.
struct FactsStamp {
    QByteArray path;
    qint64 size = -1;
    qint64 mtime = 0;
};

// Gives each face its facts from the cache when its file is unchanged, and tells the faces whose
// facts must be read. A stat and a lookup per face, on two threads when there are many: the
// window waits for them. The facts are moved, not copied, out of a cache about to be let go.
std::vector<size_t> factsFromCache(std::vector<CatalogueFont> &fonts, FactsCache &cache, std::vector<FactsStamp> &stamps)
{
    // The stats and lookups only: the entries found are taken below, on one thread.
    std::vector<CachedFacts *> found(fonts.size(), nullptr);
    auto stampRange = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            FactsStamp &stamp = stamps[i];
            stamp.path = nativePath(fonts[i].file);
            struct stat info {};
            if (::stat(stamp.path.constData(), &info) != 0)
                continue;
            stamp.size = info.st_size;
            stamp.mtime = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
            const auto it = cache.constFind(FactsCacheKey{stamp.path, fonts[i].index});
            if (it != cache.cend() && it->size == stamp.size && it->mtime == stamp.mtime)
                found[i] = const_cast<CachedFacts *>(&*it);
        }
    };
    if (fonts.size() >= 4096 && std::thread::hardware_concurrency() > 1) {
        const size_t half = fonts.size() / 2;
        std::thread second([&] { stampRange(half, fonts.size()); });
        stampRange(0, half);
        second.join();
    } else {
        stampRange(0, fonts.size());
    }
    std::vector<size_t> missing;
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (stamps[i].size < 0) {
            fonts[i].facts = FontFacts{};
        } else if (found[i] && found[i]->size >= 0) {
            // Each entry serves one face; a second face of the same key (never listed by
            // fontconfig) is read again.
            fonts[i].facts = std::move(found[i]->facts);
            found[i]->size = -1;
        } else {
            missing.push_back(i);
        }
    }
    return missing;
}

}

void FontCatalogue::fillFacts(std::vector<CatalogueFont> &fonts)
{
    // The cache is read for each fill and let go after it: the faces keep what they need of it.
    FactsCache cache = loadCache();
    std::vector<FactsStamp> stamps(fonts.size());
    const std::vector<size_t> missing = factsFromCache(fonts, cache, stamps);
    if (missing.empty())
        return;
    // FreeType reads dominate a cold start; share them out over the processor's cores, in chunks
    // taken in turn, so that progress can be told and a cancelled read stops soon.
    const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    constexpr size_t kChunk = 128;
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    auto work = [&] {
        for (;;) {
            if (m_cancel && m_cancel->load())
                return;
            const size_t first = next.fetch_add(kChunk);
            if (first >= missing.size())
                return;
            const size_t last = std::min(first + kChunk, missing.size());
            for (size_t i = first; i < last; ++i) {
                CatalogueFont &font = fonts[missing[i]];
                font.facts = readFacts(font.file, font.index);
            }
            const size_t now = done.fetch_add(last - first) + (last - first);
            if (m_progress)
                m_progress(fonts.size() - missing.size() + now, fonts.size());
        }
    };
    if (missing.size() < kThreadedFactsThreshold || workers == 1) {
        work();
    } else {
        std::vector<std::thread> threads;
        for (size_t i = 1; i < workers; ++i)
            threads.emplace_back(work);
        work();
        for (std::thread &t : threads)
            t.join();
    }
    // A cancelled read leaves faces unread: nothing of it is kept.
    if (m_cancel && m_cancel->load())
        return;
    // The cache holds the faces of this read, in their order; faces no longer installed drop out.
    // It only saves time: a cache that cannot be written is no error.
    FactsCacheWriter writer;
    for (size_t i = 0; i < fonts.size(); ++i)
        if (stamps[i].size >= 0)
            writer.add(FactsCacheKey{stamps[i].path, fonts[i].index}, CachedFacts{stamps[i].size, stamps[i].mtime, fonts[i].facts});
    writeFileAtomically(m_cacheFile, writer.finish());
}

FactsCache FontCatalogue::loadCache() const
{
    FactsCache cache;
    // The cache only saves time: one that is not a regular file, is larger than any list of fonts
    // makes, or is damaged in any way is not used, and the next save replaces it.
    const std::optional<QByteArray> content = readRegularFile(m_cacheFile, kCacheLimit);
    if (content)
        parseFactsCache(*content, cache);
    return cache;
}

std::vector<CatalogueFont> FontCatalogue::fonts()
{
    if (!m_systemLoaded)
        loadSystemFonts();
    std::vector<CatalogueFont> all = m_system;
    for (const Temporary &t : m_temporary)
        all.insert(all.end(), t.faces.begin(), t.faces.end());
    return all;
}

std::vector<EnumeratedFace> FontCatalogue::enumerate(EnumCharset which)
{
    if (!m_systemLoaded)
        loadSystemFonts();
    std::vector<const CatalogueFont *> all;
    all.reserve(m_system.size());
    for (const CatalogueFont &font : m_system)
        all.push_back(&font);
    for (const Temporary &t : m_temporary)
        for (const CatalogueFont &font : t.faces)
            all.push_back(&font);
    return enumerateFonts(all, which);
}

std::vector<EnumeratedFace> FontCatalogue::enumerateFonts(const std::vector<const CatalogueFont *> &fonts, EnumCharset which)
{
    // Group faces by family in the order each family first appears.
    std::vector<const CatalogueFont *> representative;
    QHash<QString, size_t> slot;
    slot.reserve(static_cast<qsizetype>(fonts.size()));
    for (const CatalogueFont *font : fonts) {
        if (!font->facts.valid || font->facts.family.isEmpty())
            continue;
        const auto found = slot.constFind(font->facts.family);
        if (found == slot.cend()) {
            slot.insert(font->facts.family, representative.size());
            representative.push_back(font);
            continue;
        }
        // The upright regular face speaks for its family, as it does for GDI.
        const CatalogueFont *&current = representative[*found];
        const auto uprightness = [](const FontFacts &f) { return (f.italic ? 1000 : 0) + std::abs(f.weight - 400); };
        if (uprightness(font->facts) < uprightness(current->facts))
            current = font;
    }

    std::vector<EnumeratedFace> faces;
    faces.reserve(representative.size() * 2);
    for (const CatalogueFont *font : representative) {
        const FontFacts &f = font->facts;
        EnumeratedFace face{f.family, f.style, f.fullName, font->file, 0, f.weight, f.pitchAndFamily,
                            f.lastChar, f.lastCode, f.width, f.height, f.raster, font->format};
        if (which == EnumCharset::Ansi) {
            if (std::find(f.charsets.begin(), f.charsets.end(), 0) != f.charsets.end())
                faces.push_back(face);
            continue;
        }
        for (int charset : f.charsets) {
            face.charset = charset;
            faces.push_back(face);
        }
    }
    return faces;
}

int FontCatalogue::addTemporary(const QString &path, FileRefusal *why)
{
    if (why)
        *why = FileRefusal::None;
    for (Temporary &t : m_temporary) {
        if (t.path == path) {
            ++t.count;
            return static_cast<int>(t.faces.size());
        }
    }
    // The toolkit gets the bytes read here, never the name: a name that is not UTF-8 would reach
    // another file through it, and a FIFO would hang its open.
    RegularFile file(path);
    std::optional<QByteArray> content = file.readAll(kFontFileLimit);
    if (!content) {
        if (why)
            *why = file.refusal();
        return 0;
    }
    // A web font is unpacked here, so that FreeType and the toolkit read the sfnt it holds.
    content = unpackedFontContent(*content, kFontFileLimit);
    if (!content)
        return 0;
    return addTemporaryContent(path, std::move(*content));
}

int FontCatalogue::addTemporary(const QString &path, QByteArray unpacked)
{
    for (Temporary &t : m_temporary) {
        if (t.path == path) {
            ++t.count;
            return static_cast<int>(t.faces.size());
        }
    }
    return addTemporaryContent(path, std::move(unpacked));
}

int FontCatalogue::addTemporaryContent(const QString &path, QByteArray unpacked)
{
    std::optional<QByteArray> content = std::move(unpacked);
    Temporary t;
    t.path = path;
    t.count = 1;
    const std::vector<FontFacts> faces = readFontData(*content);
    for (int i = 0; i < static_cast<int>(faces.size()); ++i) {
        if (!faces[static_cast<size_t>(i)].valid)
            continue;
        CatalogueFont font;
        font.file = path;
        font.index = i;
        font.temporary = true;
        font.facts = faces[static_cast<size_t>(i)];
        font.format = font.facts.raster ? QStringLiteral("Windows FNT") : QStringLiteral("TrueType");
        t.faces.push_back(std::move(font));
    }
    if (t.faces.empty())
        return 0;
    dropRetired();
    if (m_toolkit) {
        // The toolkit gets the font under a family of its own (see PrivateFamily.h); content that
        // cannot be renamed goes as it is, under its own family.
        const QByteArray renamed = withPrivateFamily(*content, ++m_privateSerial);
        for (const CatalogueFont &face : t.faces)
            t.drawnFamilies.push_back(renamed.isEmpty() ? face.facts.family : privateFaceFamily(*content, m_privateSerial, face.index));
        t.toolkitId = m_toolkit->addFont(renamed.isEmpty() ? *content : renamed);
    }
    m_temporary.push_back(std::move(t));
    return static_cast<int>(m_temporary.back().faces.size());
}

bool FontCatalogue::removeTemporary(const QString &path)
{
    for (auto it = m_temporary.begin(); it != m_temporary.end(); ++it) {
        if (it->path != path)
            continue;
        if (--it->count > 0)
            return true;
        // The toolkit keeps the font until the next one is added. A widget that paints with a
        // family the toolkit has just dropped keeps that stale face for good, even after it is
        // given another font: the previews would stay stuck on the font given back.
        if (it->toolkitId >= 0)
            m_retiredToolkitIds.push_back(it->toolkitId);
        m_temporary.erase(it);
        return true;
    }
    return false;
}

bool FontCatalogue::isTemporary(const QString &path) const
{
    return std::any_of(m_temporary.begin(), m_temporary.end(), [&](const Temporary &t) { return t.path == path; });
}

const FontFacts *FontCatalogue::temporaryFacts(const QString &path, int index) const
{
    for (const Temporary &t : m_temporary) {
        if (t.path != path || t.faces.empty())
            continue;
        if (index < 0)
            return &t.faces.front().facts;
        for (const CatalogueFont &face : t.faces)
            if (face.index == index)
                return &face.facts;
    }
    return nullptr;
}

FaceStyle FontCatalogue::temporaryStyle(const QString &path, int index) const
{
    for (const Temporary &t : m_temporary) {
        if (t.path != path)
            continue;
        for (size_t i = 0; i < t.faces.size() && i < t.drawnFamilies.size(); ++i)
            if (index < 0 || t.faces[i].index == index)
                return {t.drawnFamilies[i], QString()};
    }
    return {};
}

namespace {

// The path with every link resolved; the path itself when it cannot be resolved.
QString canonicalFile(const QString &path)
{
    char resolved[PATH_MAX];
    if (::realpath(nativePath(path).constData(), resolved) == nullptr)
        return path;
    return pathFromNative(resolved);
}

}

bool FontCatalogue::isInstalledFile(const QString &path)
{
    if (!m_systemLoaded)
        loadSystemFonts();
    if (!m_fileIndexBuilt) {
        for (const CatalogueFont &font : m_system) {
            const QString canonical = canonicalFile(font.file);
            if (m_canonicalFiles.contains(canonical))
                continue;
            m_canonicalFiles.insert(canonical, true);
            struct stat info {};
            if (::stat(nativePath(canonical).constData(), &info) == 0 && S_ISREG(info.st_mode))
                m_filesBySize[static_cast<qint64>(info.st_size)] << canonical;
        }
        m_fileIndexBuilt = true;
    }
    const QString canonical = canonicalFile(path);
    if (m_canonicalFiles.contains(canonical))
        return true;
    // A copy of an installed file elsewhere is installed too: only files of its size are read.
    RegularFile file(path);
    if (!file.isOpen())
        return false;
    const auto candidates = m_filesBySize.constFind(file.size());
    if (candidates == m_filesBySize.cend())
        return false;
    const std::optional<QByteArray> content = file.readAll(kFontFileLimit);
    if (!content)
        return false;
    for (const QString &candidate : *candidates)
        if (readRegularFile(candidate, kFontFileLimit) == content)
            return true;
    return false;
}

bool isType1Format(const QString &format)
{
    return format == QLatin1String("Type 1") || format == QLatin1String("CID Type 1");
}

QString fontsKeySuffixFor(const CatalogueFont &font)
{
    return fontsKeySuffixFor(font.format, font.facts.raster);
}

QString fontsKeySuffixFor(const QString &format, bool raster)
{
    if (raster || format == QLatin1String("Windows FNT"))
        return QStringLiteral("VGA res");
    if (format.isEmpty() || format == QLatin1String("TrueType"))
        return QStringLiteral("TrueType");
    if (format == QLatin1String("CFF"))
        return QStringLiteral("OpenType");
    if (format == QLatin1String("Type 1") || format == QLatin1String("CID Type 1"))
        return QStringLiteral("Type 1");
    if (format == QLatin1String("PCF") || format == QLatin1String("BDF"))
        return QStringLiteral("Raster");
    return format;
}
