// SPDX-License-Identifier: MIT
// Reading the faces of one font file: FreeType for the metrics, the bytes themselves for the
// names and for the number of faces worth reading.
#include "FontCatalogue.h"

#include "ByteSource.h"
#include "NameString.h"
#include "NativeFile.h"
#include "WebFont.h"

#include <QSet>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_IDS_H
#include FT_WINFONTS_H

#include <algorithm>
#include <cerrno>
#include <cmath>

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

constexpr std::uint32_t kCollectionTag = 0x74746366;   // 'ttcf'
constexpr std::uint32_t kNameTag = 0x6E616D65;         // 'name'

// Names 1, 2 and 4 in one pass over the records: Windows English first, then any Windows
// record, then Unicode, then Macintosh Roman.
struct SfntNames {
    QString family, style, full, typographicFamily, typographicStyle;
};

// The naming table of one face of an sfnt file or collection, read from the bytes: FreeType would
// load every record's string to tell its ID, however many records share one long string. Only the
// three winners are decoded, and records whose string does not lie inside the table and the file
// are skipped, as FreeType skips them.
SfntNames sfntNames(ByteSource &source, std::uint64_t size, int index)
{
    SfntNames names;
    std::uint8_t b[16];
    if (!source.readExact(0, 12, b))
        return names;
    std::uint64_t directory = 0;
    if (u32be(b) == kCollectionTag) {
        if (index < 0 || std::uint32_t(index) >= u32be(b + 8) || !source.readExact(12 + 4 * std::uint64_t(index), 4, b))
            return names;
        directory = u32be(b);
        if (!source.readExact(directory, 12, b))
            return names;
    }
    const std::uint16_t tables = u16be(b + 4);
    std::uint64_t table = 0, length = 0;
    for (std::uint32_t t = 0; t < tables; ++t) {
        if (!source.readExact(directory + 12 + 16 * std::uint64_t(t), 16, b))
            return names;
        if (u32be(b) == kNameTag) {
            table = u32be(b + 8);
            length = u32be(b + 12);
        }
    }
    if (table == 0 || table >= size || !source.readExact(table, 6, b))
        return names;
    const std::uint64_t tableEnd = table + std::min(length, size - table);
    const std::uint16_t count = u16be(b + 2);
    const std::uint64_t storage = table + u16be(b + 4);
    struct Best {
        int score = -1;
        std::uint16_t platformId = 0;
        std::uint64_t at = 0;
        std::uint16_t length = 0;
    } best[5];
    for (std::uint32_t r = 0; r < count; ++r) {
        if (!source.readExact(table + 6 + 12 * std::uint64_t(r), 12, b))
            break;
        const std::uint16_t platformId = u16be(b), encodingId = u16be(b + 2), languageId = u16be(b + 4), nameId = u16be(b + 6);
        const std::uint16_t stringLength = u16be(b + 8);
        const std::uint64_t at = storage + u16be(b + 10);
        const int slot = nameId == TT_NAME_ID_FONT_FAMILY ? 0
            : nameId == TT_NAME_ID_FONT_SUBFAMILY       ? 1
            : nameId == TT_NAME_ID_FULL_NAME            ? 2
            : nameId == 16                              ? 3
            : nameId == 17                              ? 4
                                                        : -1;
        if (slot < 0 || stringLength == 0 || at + stringLength > tableEnd)
            continue;
        int score = -1;
        if (platformId == TT_PLATFORM_MICROSOFT)
            score = languageId == 0x409 ? 3 : 2;
        else if (platformId == TT_PLATFORM_APPLE_UNICODE)
            score = 1;
        else if (platformId == TT_PLATFORM_MACINTOSH && encodingId == TT_MAC_ID_ROMAN)
            score = 0;
        if (score > best[slot].score)
            best[slot] = {score, platformId, at, stringLength};
    }
    QString *targets[5] = {&names.family, &names.style, &names.full, &names.typographicFamily, &names.typographicStyle};
    std::vector<std::uint8_t> bytes;
    for (int slot = 0; slot < 5; ++slot) {
        if (best[slot].score < 0)
            continue;
        bytes.resize(best[slot].length);
        if (source.readExact(best[slot].at, best[slot].length, bytes.data()))
            *targets[slot] = decodeNameString(best[slot].platformId, bytes);
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

// The last character of the face's selected character map: a Unicode code point, or for a symbol
// font the byte its last symbol stands on.
int lastCodeOf(FT_Face face, bool symbol)
{
    if (!face->charmap)
        return 0;
    FT_UInt glyph = 0;
    FT_ULong last = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0; code = FT_Get_Next_Char(face, code, &glyph))
        last = code;
    if (symbol && last >= 0xF000 && last <= 0xF0FF)
        last -= 0xF000;
    return static_cast<int>(std::min<FT_ULong>(last, 0x10FFFF));
}

QString fullNameOf(const QString &family, const QString &style)
{
    if (style.isEmpty() || style == QLatin1String("Regular") || style == QLatin1String("Normal") || style == QLatin1String("Medium"))
        return family;
    return family + QLatin1Char(' ') + style;
}

// Small files are read whole into a reused buffer: FreeType's many small reads then cost no
// system calls. (Mapping them costs more: every unmap flushes the other cores' TLBs.) Larger ones
// are read through the descriptor as FreeType asks.
constexpr qint64 kWholeReadLimit = 2 * 1024 * 1024;

// FreeType's stream over an open descriptor; a read of no bytes is a seek.
unsigned long readDescriptor(FT_Stream stream, unsigned long offset, unsigned char *buffer, unsigned long count)
{
    if (count == 0)
        return offset > stream->size ? 1 : 0;
    const int fd = static_cast<int>(stream->descriptor.value);
    unsigned long done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<unsigned long>(n);
    }
    return done;
}

// The bytes of one font file, for FreeType and for the naming-table walk: in memory, or behind an
// open descriptor of a regular file.
struct FontBytes {
    const FT_Byte *data = nullptr;
    int fd = -1;
    std::uint64_t size = 0;

    ByteSource source() const
    {
        return data ? ByteSource::fromMemory({data, static_cast<std::size_t>(size)}) : ByteSource::fromFile(fd);
    }
    // stream must outlive the face.
    FT_Error open(int index, FT_StreamRec &stream, FT_Face *face) const
    {
        if (data)
            return FT_New_Memory_Face(freetype(), data, static_cast<FT_Long>(size), index, face);
        stream = FT_StreamRec{};
        stream.size = static_cast<unsigned long>(size);
        stream.descriptor.value = fd;
        stream.read = readDescriptor;
        FT_Open_Args args{};
        args.flags = FT_OPEN_STREAM;
        args.stream = &stream;
        return FT_Open_Face(freetype(), &args, index, face);
    }
};

FontFacts factsOf(const FontBytes &bytes, int index)
{
    FontFacts facts;
    FT_StreamRec stream;
    FT_Face face = nullptr;
    if (bytes.open(index, stream, &face) != 0)
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
        facts.lastCode = fnt.last_char;
        facts.width = fnt.avg_width;
        facts.height = fnt.pixel_height;
        FT_Done_Face(face);
        return facts;
    }

    ByteSource source = bytes.source();
    const SfntNames names = sfntNames(source, bytes.size, index);
    facts.family = names.family;
    if (facts.family.isEmpty())
        facts.family = QString::fromUtf8(face->family_name ? face->family_name : "");
    facts.style = names.style;
    if (facts.style.isEmpty())
        facts.style = QString::fromUtf8(face->style_name ? face->style_name : "");
    facts.fullName = names.full;
    facts.typographicFamily = names.typographicFamily;
    facts.typographicStyle = names.typographicStyle;
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
    facts.lastCode = std::max(lastCodeOf(face, symbol), facts.lastChar);
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

// Reads all of a small regular file into the buffer; false for a larger one.
bool readSmall(int fd, qint64 size, std::vector<FT_Byte> &buffer)
{
    if (size <= 0 || size > kWholeReadLimit)
        return false;
    buffer.resize(static_cast<size_t>(size));
    FT_StreamRec stream{};
    stream.size = static_cast<unsigned long>(size);
    stream.descriptor.value = fd;
    return readDescriptor(&stream, 0, buffer.data(), buffer.size()) == buffer.size();
}

}

FontFacts FontCatalogue::readFacts(const QString &file, int index)
{
    // Never blocks on a FIFO, never reads a device: only a regular file is a font.
    RegularFile opened(file);
    if (!opened.isOpen())
        return {};
    thread_local std::vector<FT_Byte> buffer;
    FontBytes bytes;
    bytes.size = static_cast<std::uint64_t>(opened.size());
    if (readSmall(opened.fd(), opened.size(), buffer))
        bytes.data = buffer.data();
    else
        bytes.fd = opened.fd();
    return factsOf(bytes, index);
}

namespace {

void put32be(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A collection: faces that share one table directory are one face. The first distinct ones that
// lie in the file, at most usable of them, become the whole collection.
int cutCollection(QByteArray &content, long usable)
{
    auto *bytes = reinterpret_cast<std::uint8_t *>(content.data());
    const std::uint64_t size = static_cast<std::uint64_t>(content.size());
    const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(u32be(bytes + 8), (size - 12) / 4));
    std::vector<std::uint32_t> distinct;
    QSet<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < count && static_cast<long>(distinct.size()) < usable; ++i) {
        const std::uint32_t directory = u32be(bytes + 12 + 4 * std::size_t(i));
        if (directory + std::uint64_t(12) > size || seen.contains(directory))
            continue;
        seen.insert(directory);
        distinct.push_back(directory);
    }
    put32be(bytes + 8, static_cast<std::uint32_t>(distinct.size()));
    for (std::size_t i = 0; i < distinct.size(); ++i)
        put32be(bytes + 12 + 4 * i, distinct[i]);
    return static_cast<int>(distinct.size());
}

// A Windows raster font file (New Executable): its FONT resource count is cut to usable. False
// when the file is not one or its resource table cannot be walked.
bool cutRasterFile(QByteArray &content, long usable)
{
    auto *bytes = reinterpret_cast<std::uint8_t *>(content.data());
    const std::uint64_t size = static_cast<std::uint64_t>(content.size());
    if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z')
        return false;
    const std::uint64_t header = u32le(bytes + 0x3C);
    if (header + 0x28 > size || bytes[header] != 'N' || bytes[header + 1] != 'E')
        return false;
    const std::uint64_t tableEnd = std::min<std::uint64_t>(size, header + u16le(bytes + header + 0x26));
    std::uint64_t at = header + u16le(bytes + header + 0x24) + 2;   // past the alignment shift
    while (at + 4 <= tableEnd) {
        const std::uint16_t type = u16le(bytes + at);
        const std::uint16_t count = u16le(bytes + at + 2);
        if (type == 0)
            return false;
        if (type == 0x8008) {
            if (count > usable) {
                bytes[at + 2] = static_cast<std::uint8_t>(usable);
                bytes[at + 3] = static_cast<std::uint8_t>(usable >> 8);
            }
            return true;
        }
        at += 8 + 12 * std::uint64_t(count);
    }
    return false;
}

}

int FontCatalogue::usableFaces(QByteArray &content)
{
    FT_Face face = nullptr;
    if (content.isEmpty()
        || FT_New_Memory_Face(freetype(), reinterpret_cast<const FT_Byte *>(content.constData()), content.size(), -1, &face) != 0)
        return 0;
    const long claimed = face->num_faces;
    FT_Done_Face(face);
    const long usable = std::min<long>(claimed, std::max<long>(kFacesAnyFileMayHave, content.size() / kBytesPerFace));
    // The header is cut in the bytes themselves, so that whoever reads them next (the toolkit)
    // does the same bounded work.
    if (content.size() >= 12 && u32be(reinterpret_cast<const std::uint8_t *>(content.constData())) == kCollectionTag)
        return cutCollection(content, usable);
    if (usable == claimed)
        return static_cast<int>(std::max<long>(usable, 0));
    return cutRasterFile(content, usable) ? static_cast<int>(usable) : 0;
}

std::vector<FontFacts> FontCatalogue::readFontData(QByteArray &content)
{
    std::vector<FontFacts> faces;
    const int count = usableFaces(content);
    FontBytes bytes;
    bytes.data = reinterpret_cast<const FT_Byte *>(content.constData());
    bytes.size = static_cast<std::uint64_t>(content.size());
    for (int i = 0; i < count; ++i)
        faces.push_back(factsOf(bytes, i));
    return faces;
}

bool FontCatalogue::isFontData(const QByteArray &content)
{
    // A web font is a font when what it holds is one.
    const std::optional<QByteArray> unpacked = unpackedFontContent(content, kFontFileLimit);
    if (!unpacked)
        return false;
    QByteArray copy = *unpacked;
    return usableFaces(copy) > 0 && factsOf(FontBytes{reinterpret_cast<const FT_Byte *>(copy.constData()), -1, static_cast<std::uint64_t>(copy.size())}, 0).valid;
}
