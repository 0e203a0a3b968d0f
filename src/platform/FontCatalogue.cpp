// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"

#include "AtomicFile.h"
#include "Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSaveFile>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_IDS_H
#include FT_WINFONTS_H

#include <algorithm>
#include <cmath>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Code-page bits of the OS/2 table to Windows charsets, in bit order.
constexpr std::pair<int, int> kCodePageCharsets[] = {
    {0, 0}, {1, 238}, {2, 204}, {3, 161}, {4, 162}, {5, 177}, {6, 178}, {7, 186}, {8, 163},
    {16, 222}, {17, 128}, {18, 134}, {19, 129}, {20, 136}, {21, 130}, {29, 77}, {30, 255}, {31, 2},
};

constexpr int kFixedPitch = 1;
constexpr int kVariablePitch = 2;
constexpr int kRoman = 0x10, kSwiss = 0x20, kModern = 0x30, kScript = 0x40, kDecorative = 0x50;

// One library per thread: facts are read on several threads at a cold start.
FT_Library freetype()
{
    struct Library {
        FT_Library handle = nullptr;
        Library() { FT_Init_FreeType(&handle); }
        ~Library() { FT_Done_FreeType(handle); }
    };
    thread_local Library library;
    return library.handle;
}

QString decodeName(const FT_SfntName &name)
{
    const auto *bytes = reinterpret_cast<const char *>(name.string);
    if (name.platform_id == TT_PLATFORM_MACINTOSH)
        return QString::fromLatin1(bytes, name.string_len);
    QString out;
    for (FT_UInt i = 0; i + 1 < name.string_len; i += 2)
        out.append(QChar(char16_t(name.string[i] << 8 | name.string[i + 1])));
    return out;
}

// Names 1, 2 and 4 in one pass over the records: Windows English first, then any Windows
// record, then Unicode, then Macintosh Roman.
struct SfntNames {
    QString family, style, full;
};

SfntNames sfntNames(FT_Face face)
{
    SfntNames names;
    int best[3] = {-1, -1, -1};
    QString *targets[3] = {&names.family, &names.style, &names.full};
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.string_len == 0)
            continue;
        const int slot = name.name_id == TT_NAME_ID_FONT_FAMILY ? 0
            : name.name_id == TT_NAME_ID_FONT_SUBFAMILY       ? 1
            : name.name_id == TT_NAME_ID_FULL_NAME            ? 2
                                                              : -1;
        if (slot < 0)
            continue;
        int score = -1;
        if (name.platform_id == TT_PLATFORM_MICROSOFT)
            score = name.language_id == 0x409 ? 3 : 2;
        else if (name.platform_id == TT_PLATFORM_APPLE_UNICODE)
            score = 1;
        else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN)
            score = 0;
        if (score > best[slot]) {
            best[slot] = score;
            *targets[slot] = decodeName(name);
        }
    }
    return names;
}

int familyFromPanose(const TT_OS2 *os2, bool fixed)
{
    if (fixed)
        return kModern;
    if (!os2)
        return 0;
    switch (os2->panose[0]) {
    case 3: return kScript;
    case 4:
    case 5: return kDecorative;
    case 2:
        if (os2->panose[3] == 9)
            return kModern;
        if (os2->panose[1] >= 11 && os2->panose[1] <= 13)
            return kSwiss;
        if (os2->panose[1] >= 2 && os2->panose[1] <= 10)
            return kRoman;
        break;
    default: break;
    }
    switch (os2->sFamilyClass >> 8) {
    case 1: case 2: case 3: case 4: case 5: case 7: return kRoman;
    case 8: return kSwiss;
    case 9: case 12: return kDecorative;
    case 10: return kScript;
    default: return 0;
    }
}

int lastCharOf(FT_Face face, bool symbol)
{
    for (FT_ULong code = 255;; --code) {
        if (FT_Get_Char_Index(face, symbol ? 0xF000 + code : code) != 0)
            return static_cast<int>(code);
        if (code == 0)
            return 0;
    }
}

QString fullNameOf(const QString &family, const QString &style)
{
    if (style.isEmpty() || style == QLatin1String("Regular") || style == QLatin1String("Normal") || style == QLatin1String("Medium"))
        return family;
    return family + QLatin1Char(' ') + style;
}

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

}

namespace {

// Small files are read whole into a reused buffer: FreeType's many small reads then cost no
// system calls. (Mapping them costs more: every unmap flushes the other cores' TLBs.)
constexpr qint64 kWholeReadLimit = 2 * 1024 * 1024;

bool readWhole(const QString &path, std::vector<FT_Byte> &buffer)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 && info.st_size <= kWholeReadLimit;
    if (ok) {
        buffer.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
            ok = n > 0;
            done += ok ? static_cast<size_t>(n) : 0;
        }
    }
    ::close(fd);
    return ok;
}

}

FontFacts FontCatalogue::readFacts(const QString &file, int index)
{
    FontFacts facts;
    thread_local std::vector<FT_Byte> buffer;
    FT_Face face = nullptr;
    const FT_Error error = readWhole(file, buffer)
        ? FT_New_Memory_Face(freetype(), buffer.data(), static_cast<FT_Long>(buffer.size()), index, &face)
        : FT_New_Face(freetype(), QFile::encodeName(file).constData(), index, &face);
    if (error != 0)
        return facts;
    facts.valid = true;
    facts.italic = face->style_flags & FT_STYLE_FLAG_ITALIC;

    FT_WinFNT_HeaderRec fnt;
    if (FT_Get_WinFNT_Header(face, &fnt) == 0) {
        facts.raster = true;
        facts.family = QString::fromLatin1(face->family_name ? face->family_name : "");
        facts.style = QString::fromLatin1(face->style_name ? face->style_name : "");
        facts.fullName = fullNameOf(facts.family, facts.style);
        facts.charsets = {fnt.charset};
        facts.weight = fnt.weight;
        // In the header bit 0 set means a variable pitch; a LOGFONT says it the other way round.
        facts.pitchAndFamily = (fnt.pitch_and_family & 0xF0) | ((fnt.pitch_and_family & 1) ? kVariablePitch : kFixedPitch);
        facts.lastChar = std::min<int>(fnt.last_char, 255);
        facts.width = fnt.avg_width;
        facts.height = fnt.pixel_height;
        FT_Done_Face(face);
        return facts;
    }

    const SfntNames names = sfntNames(face);
    facts.family = names.family;
    if (facts.family.isEmpty())
        facts.family = QString::fromUtf8(face->family_name ? face->family_name : "");
    facts.style = names.style;
    if (facts.style.isEmpty())
        facts.style = QString::fromUtf8(face->style_name ? face->style_name : "");
    facts.fullName = names.full;
    if (facts.fullName.isEmpty())
        facts.fullName = fullNameOf(facts.family, facts.style);

    const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version == 0xFFFF)
        os2 = nullptr;
    bool symbol = false;
    for (int i = 0; i < face->num_charmaps; ++i)
        if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL)
            symbol = true;
    if (os2 && os2->version >= 1) {
        for (const auto &[bit, charset] : kCodePageCharsets)
            if (os2->ulCodePageRange1 & (1u << bit))
                facts.charsets.push_back(charset);
    }
    if (facts.charsets.empty())
        facts.charsets.push_back(symbol ? 2 : 0);
    if (symbol)
        FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL);

    const bool fixed = FT_IS_FIXED_WIDTH(face);
    facts.weight = os2 ? os2->usWeightClass : ((face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400);
    facts.pitchAndFamily = (fixed ? kFixedPitch : kVariablePitch) | familyFromPanose(os2, fixed);
    facts.lastChar = lastCharOf(face, symbol);
    if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
        const double scale = 16.0 / face->units_per_EM;
        const int ascent = os2 ? os2->usWinAscent : face->ascender;
        const int descent = os2 ? os2->usWinDescent : -face->descender;
        facts.height = static_cast<int>(std::ceil((ascent + descent) * scale));
        facts.width = os2 && os2->xAvgCharWidth > 0 ? static_cast<int>(std::lround(os2->xAvgCharWidth * scale))
                                                     : static_cast<int>(std::lround(face->max_advance_width * scale / 2));
    } else if (face->num_fixed_sizes > 0) {
        facts.height = face->available_sizes[0].height;
        facts.width = face->available_sizes[0].width;
    }
    FT_Done_Face(face);
    return facts;
}

int FontCatalogue::faceCount(const QString &file)
{
    FT_Face face = nullptr;
    if (FT_New_Face(freetype(), QFile::encodeName(file).constData(), -1, &face) != 0)
        return 0;
    const int count = static_cast<int>(face->num_faces);
    FT_Done_Face(face);
    return count;
}

FontCatalogue::FontCatalogue(QString cacheFolder)
    : m_cacheFile(withTrailingSlash(cacheFolder) + QStringLiteral("font-facts-v1.tsv"))
{
}

FontCatalogue::~FontCatalogue()
{
    for (const Temporary &t : m_temporary)
        if (t.qtId >= 0)
            QFontDatabase::removeApplicationFont(t.qtId);
}

void FontCatalogue::rescan()
{
    m_systemLoaded = false;
    m_system.clear();
}

void FontCatalogue::rescan(const QString &changedFolder)
{
    if (FcCache *cache = FcDirCacheRescan(reinterpret_cast<const FcChar8 *>(QFile::encodeName(changedFolder).constData()), nullptr))
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
                font.file = fcString(pattern, FC_FILE);
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
        if (::stat(QFile::encodeName(font.file).constData(), &info) != 0) {
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
    if (missing.size() < 16 || workers == 1) {
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
    QFile file(m_cacheFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    for (const QByteArray &line : content.split('\n')) {
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
        m_cache.insert(cacheKey(QString::fromUtf8(f[0]), f[1].toInt()), c);
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
        out += QFile::encodeName(key.left(split)).replace('\t', ' ') + '\t' + key.mid(split + 1).toUtf8() + '\t'
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

int FontCatalogue::addTemporary(const QString &path)
{
    for (Temporary &t : m_temporary) {
        if (t.path == path) {
            ++t.count;
            return static_cast<int>(t.faces.size());
        }
    }
    const int count = faceCount(path);
    if (count <= 0)
        return 0;
    Temporary t;
    t.path = path;
    t.count = 1;
    for (int i = 0; i < count; ++i) {
        CatalogueFont font;
        font.file = path;
        font.index = i;
        font.temporary = true;
        font.facts = readFacts(path, i);
        font.format = font.facts.raster ? QStringLiteral("Windows FNT") : QStringLiteral("TrueType");
        if (font.facts.valid)
            t.faces.push_back(std::move(font));
    }
    if (t.faces.empty())
        return 0;
    t.qtId = QFontDatabase::addApplicationFont(path);
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
        if (it->qtId >= 0)
            QFontDatabase::removeApplicationFont(it->qtId);
        m_temporary.erase(it);
        return true;
    }
    return false;
}

bool FontCatalogue::isTemporary(const QString &path) const
{
    return std::any_of(m_temporary.begin(), m_temporary.end(), [&](const Temporary &t) { return t.path == path; });
}

const FontFacts *FontCatalogue::temporaryFacts(const QString &path) const
{
    for (const Temporary &t : m_temporary)
        if (t.path == path && !t.faces.empty())
            return &t.faces.front().facts;
    return nullptr;
}

QFont FontCatalogue::fontFor(const QString &faceName)
{
    QFont font;
    if (faceName.isEmpty())
        return font;
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
    if (!isFamily && byFull) {
        font.setFamilies({byFull->facts.family});
        if (!byFull->facts.style.isEmpty())
            font.setStyleName(byFull->facts.style);
        return font;
    }
    font.setFamilies({faceName});
    return font;
}

QString fontsKeySuffixFor(const CatalogueFont &font)
{
    if (font.facts.raster || font.format == QLatin1String("Windows FNT"))
        return QStringLiteral("VGA res");
    if (font.format == QLatin1String("TrueType") || font.format == QLatin1String("CFF"))
        return QStringLiteral("TrueType");
    return font.format.isEmpty() ? QStringLiteral("TrueType") : font.format;
}
