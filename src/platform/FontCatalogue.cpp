// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"

#include "AtomicFile.h"
#include "NativeFile.h"
#include "Paths.h"
#include "ToolkitFonts.h"
#include "WebFont.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <thread>

#include <sys/stat.h>

namespace {

QString cacheKey(const QString &file, int index)
{
    return file + QLatin1Char('\n') + QString::number(index);
}

QString fcString(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) == FcResultMatch && value)
        return QString::fromUtf8(reinterpret_cast<const char *>(value));
    return {};
}

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
    : m_cacheFile(withTrailingSlash(cacheFolder) + QStringLiteral("font-facts-v2.tsv"))
    , m_toolkit(toolkit)
{
}

FontCatalogue::~FontCatalogue()
{
    for (const Temporary &t : m_temporary)
        if (t.toolkitId >= 0 && m_toolkit)
            m_toolkit->removeFont(t.toolkitId);
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
    m_systemLoaded = false;
    m_system.clear();
}

void FontCatalogue::rescan(const QString &changedFolder)
{
    if (FcCache *cache = FcDirCacheRescan(reinterpret_cast<const FcChar8 *>(nativePath(changedFolder).constData()), nullptr))
        FcDirCacheUnload(cache);
    rescan();
}

void FontCatalogue::loadSystemFonts()
{
    m_system.clear();
    FcConfig *config = FcInitLoadConfigAndFonts();
    if (config) {
        if (FcFontSet *set = FcConfigGetFonts(config, FcSetSystem)) {
            m_system.reserve(set->nfont);
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
                font.format = fcString(pattern, FC_FONTFORMAT);
                if (!font.file.isEmpty())
                    m_system.push_back(std::move(font));
            }
        }
        FcConfigDestroy(config);
    }
    fillFacts(m_system);
    m_systemLoaded = true;
}

void FontCatalogue::fillFacts(std::vector<CatalogueFont> &fonts)
{
    loadCache();
    struct Missing {
        CatalogueFont *font;
        qint64 size;
        qint64 mtime;
    };
    std::vector<Missing> missing;
    for (CatalogueFont &font : fonts) {
        struct stat info {};
        if (::stat(nativePath(font.file).constData(), &info) != 0) {
            font.facts = FontFacts{};
            continue;
        }
        const qint64 size = info.st_size;
        const qint64 mtime = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        auto it = m_cache.constFind(cacheKey(font.file, font.index));
        if (it != m_cache.cend() && it->size == size && it->mtime == mtime)
            font.facts = it->facts;
        else
            missing.push_back({&font, size, mtime});
    }
    if (missing.empty())
        return;
    // FreeType reads dominate a cold start; share them out over the processor's cores.
    const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    auto work = [&](size_t first) {
        for (size_t i = first; i < missing.size(); i += workers)
            missing[i].font->facts = readFacts(missing[i].font->file, missing[i].font->index);
    };
    if (missing.size() < kThreadedFactsThreshold || workers == 1) {
        work(0);
        for (size_t i = 1; i < workers; ++i)
            work(i);
    } else {
        std::vector<std::thread> threads;
        for (size_t i = 1; i < workers; ++i)
            threads.emplace_back(work, i);
        work(0);
        for (std::thread &t : threads)
            t.join();
    }
    for (const Missing &m : missing)
        m_cache.insert(cacheKey(m.font->file, m.font->index), {m.size, m.mtime, m.font->facts});
    m_cacheDirty = true;
    saveCache();
}

// One line per face: path, index, size, mtime, then the facts; fields separated by tabs.
void FontCatalogue::loadCache()
{
    if (m_cacheLoaded)
        return;
    m_cacheLoaded = true;
    // The cache only saves time: one that is not a regular file, or is larger than any list of
    // fonts makes it, is not read, and the next save replaces it.
    const std::optional<QByteArray> content = readRegularFile(m_cacheFile, kCacheLimit);
    if (!content)
        return;
    for (const QByteArray &line : content->split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 17)
            continue;
        CachedFacts c;
        c.size = f[2].toLongLong();
        c.mtime = f[3].toLongLong();
        FontFacts &x = c.facts;
        x.valid = f[4] == "1";
        x.raster = f[5] == "1";
        x.italic = f[6] == "1";
        x.family = QString::fromUtf8(f[7]);
        x.style = QString::fromUtf8(f[8]);
        x.fullName = QString::fromUtf8(f[9]);
        for (const QByteArray &cs : f[10].split(','))
            if (!cs.isEmpty())
                x.charsets.push_back(cs.toInt());
        x.weight = f[11].toInt();
        x.pitchAndFamily = f[12].toInt();
        x.lastChar = f[13].toInt();
        x.width = f[14].toInt();
        x.height = f[15].toInt();
        m_cache.insert(cacheKey(pathFromNative(f[0]), f[1].toInt()), c);
    }
}

void FontCatalogue::saveCache()
{
    if (!m_cacheDirty)
        return;
    m_cacheDirty = false;
    QByteArray out;
    auto clean = [](const QString &s) {
        QByteArray b = s.toUtf8();
        b.replace('\t', ' ').replace('\n', ' ');
        return b;
    };
    for (auto it = m_cache.cbegin(); it != m_cache.cend(); ++it) {
        const QString &key = it.key();
        const qsizetype split = key.lastIndexOf(QLatin1Char('\n'));
        const FontFacts &x = it->facts;
        QByteArrayList charsets;
        for (int cs : x.charsets)
            charsets << QByteArray::number(cs);
        out += nativePath(key.left(split)).replace('\t', ' ') + '\t' + key.mid(split + 1).toUtf8() + '\t'
            + QByteArray::number(it->size) + '\t' + QByteArray::number(it->mtime) + '\t'
            + (x.valid ? "1" : "0") + '\t' + (x.raster ? "1" : "0") + '\t' + (x.italic ? "1" : "0") + '\t'
            + clean(x.family) + '\t' + clean(x.style) + '\t' + clean(x.fullName) + '\t' + charsets.join(',') + '\t'
            + QByteArray::number(x.weight) + '\t' + QByteArray::number(x.pitchAndFamily) + '\t'
            + QByteArray::number(x.lastChar) + '\t' + QByteArray::number(x.width) + '\t'
            + QByteArray::number(x.height) + "\t\n";
    }
    // The cache only saves time: a cache that cannot be written is no error.
    writeFileAtomically(m_cacheFile, out);
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
    // Group faces by family in the order each family first appears.
    std::vector<const CatalogueFont *> representative;
    QHash<QString, size_t> slot;
    auto consider = [&](const CatalogueFont &font) {
        if (!font.facts.valid || font.facts.family.isEmpty())
            return;
        const auto found = slot.constFind(font.facts.family);
        if (found == slot.cend()) {
            slot.insert(font.facts.family, representative.size());
            representative.push_back(&font);
            return;
        }
        // The upright regular face speaks for its family, as it does for GDI.
        const CatalogueFont *&current = representative[*found];
        const auto uprightness = [](const FontFacts &f) { return (f.italic ? 1000 : 0) + std::abs(f.weight - 400); };
        if (uprightness(font.facts) < uprightness(current->facts))
            current = &font;
    };
    for (const CatalogueFont &font : m_system)
        consider(font);
    for (const Temporary &t : m_temporary)
        for (const CatalogueFont &font : t.faces)
            consider(font);

    std::vector<EnumeratedFace> faces;
    faces.reserve(representative.size() * 2);
    for (const CatalogueFont *font : representative) {
        const FontFacts &f = font->facts;
        EnumeratedFace face{f.family, f.style, f.fullName, font->file, 0, f.weight, f.pitchAndFamily,
                            f.lastChar, f.width, f.height, f.raster};
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
    if (m_toolkit)
        t.toolkitId = m_toolkit->addFont(*content);
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

FaceStyle FontCatalogue::faceStyle(const QString &faceName)
{
    if (faceName.isEmpty())
        return {};
    if (!m_systemLoaded)
        loadSystemFonts();
    const CatalogueFont *byFull = nullptr;
    auto look = [&](const CatalogueFont &c) {
        if (!byFull && c.facts.fullName.compare(faceName, Qt::CaseInsensitive) == 0)
            byFull = &c;
    };
    bool isFamily = false;
    for (const CatalogueFont &c : m_system) {
        isFamily = isFamily || c.facts.family.compare(faceName, Qt::CaseInsensitive) == 0;
        look(c);
    }
    for (const Temporary &t : m_temporary)
        for (const CatalogueFont &c : t.faces) {
            isFamily = isFamily || c.facts.family.compare(faceName, Qt::CaseInsensitive) == 0;
            look(c);
        }
    if (!isFamily && byFull)
        return {byFull->facts.family, byFull->facts.style};
    return {faceName, QString()};
}

QString fontsKeySuffixFor(const CatalogueFont &font)
{
    if (font.facts.raster || font.format == QLatin1String("Windows FNT"))
        return QStringLiteral("VGA res");
    if (font.format == QLatin1String("TrueType") || font.format == QLatin1String("CFF"))
        return QStringLiteral("TrueType");
    return font.format.isEmpty() ? QStringLiteral("TrueType") : font.format;
}
