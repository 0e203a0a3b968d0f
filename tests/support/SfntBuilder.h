// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Builds a minimal sfnt file field by field: an offset table, table records, and a naming table
// whose records and strings the test names.
class SfntBuilder {
public:
    struct Record {
        std::uint16_t platformID = 3;
        std::uint16_t encodingID = 1;
        std::uint16_t languageID = 0x409;
        std::uint16_t nameID = 1;
        std::vector<std::uint8_t> bytes;
        // When set, the record's length and offset fields are written as given.
        int lengthOverride = -1;
        int offsetOverride = -1;
    };

    SfntBuilder &name(std::uint16_t platformID, std::uint16_t nameID, std::vector<std::uint8_t> bytes)
    {
        Record r;
        r.platformID = platformID;
        r.encodingID = platformID == 1 ? 0 : 1;
        r.languageID = platformID == 1 ? 0 : 0x409;
        r.nameID = nameID;
        r.bytes = std::move(bytes);
        m_records.push_back(std::move(r));
        return *this;
    }
    SfntBuilder &record(Record r)
    {
        m_records.push_back(std::move(r));
        return *this;
    }
    // Another table before 'name' (its tag and contents do not matter).
    SfntBuilder &withOtherTable() { m_other = true; return *this; }
    SfntBuilder &withoutNameTable() { m_noName = true; return *this; }
    SfntBuilder &countOverride(int count) { m_count = count; return *this; }

    static std::vector<std::uint8_t> latin1(const char *text) { return std::vector<std::uint8_t>(text, text + std::char_traits<char>::length(text)); }
    static std::vector<std::uint8_t> utf16be(const QString &text)
    {
        std::vector<std::uint8_t> out;
        for (const QChar c : text) {
            out.push_back(static_cast<std::uint8_t>(c.unicode() >> 8));
            out.push_back(static_cast<std::uint8_t>(c.unicode() & 0xFF));
        }
        return out;
    }

    // A real font whose naming table is replaced by the given bytes, appended at its end.
    static std::vector<std::uint8_t> withNameTable(std::vector<std::uint8_t> font, const std::vector<std::uint8_t> &table)
    {
        while (font.size() % 4 != 0)
            font.push_back(0);
        const std::uint32_t at = static_cast<std::uint32_t>(font.size());
        const std::uint16_t tables = get16(font, 4);
        for (std::uint32_t t = 0; t < tables && 12 + 16 * t + 16 <= font.size(); ++t) {
            const std::size_t record = 12 + 16 * t;
            if (font[record] == 'n' && font[record + 1] == 'a' && font[record + 2] == 'm' && font[record + 3] == 'e') {
                set32(font, record + 8, at);
                set32(font, record + 12, static_cast<std::uint32_t>(table.size()));
            }
        }
        font.insert(font.end(), table.begin(), table.end());
        return font;
    }

    // A real font whose table of the given tag is replaced by the given bytes, appended at its
    // end (the checksums are left as they were; readers do not check them).
    static std::vector<std::uint8_t> withTable(std::vector<std::uint8_t> font, const char *tag, const std::vector<std::uint8_t> &table)
    {
        while (font.size() % 4 != 0)
            font.push_back(0);
        const std::uint32_t at = static_cast<std::uint32_t>(font.size());
        const std::uint16_t tables = get16(font, 4);
        for (std::uint32_t t = 0; t < tables && 12 + 16 * t + 16 <= font.size(); ++t) {
            const std::size_t record = 12 + 16 * t;
            if (std::equal(tag, tag + 4, font.begin() + static_cast<std::ptrdiff_t>(record))) {
                set32(font, record + 8, at);
                set32(font, record + 12, static_cast<std::uint32_t>(table.size()));
            }
        }
        font.insert(font.end(), table.begin(), table.end());
        return font;
    }

    // A character map of one Windows Unicode (3,10) subtable of format 12: each group maps its
    // range of codes to glyphs from its first glyph on.
    struct CmapGroup {
        std::uint32_t first, last, glyph;
    };
    static std::vector<std::uint8_t> cmapFormat12(const std::vector<CmapGroup> &groups)
    {
        std::vector<std::uint8_t> out;
        put16(out, 0);
        put16(out, 1);
        put16(out, 3);
        put16(out, 10);
        put32(out, 12);
        put16(out, 12);
        put16(out, 0);
        put32(out, static_cast<std::uint32_t>(16 + 12 * groups.size()));
        put32(out, 0);
        put32(out, static_cast<std::uint32_t>(groups.size()));
        for (const CmapGroup &g : groups) {
            put32(out, g.first);
            put32(out, g.last);
            put32(out, g.glyph);
        }
        return out;
    }

    // Groups that map every code of a range to glyphs 1 to glyphs - 1, over and over, so that a
    // font of few glyphs covers the range.
    static std::vector<CmapGroup> groupsCovering(std::uint32_t first, std::uint32_t last, std::uint32_t glyphs)
    {
        std::vector<CmapGroup> groups;
        for (std::uint32_t from = first; from <= last; from += glyphs - 1)
            groups.push_back({from, std::min(last, from + glyphs - 2), 1});
        return groups;
    }

    // A naming table of count records, all for one range of stringLength bytes. The range lies
    // over the table's own records (inside the table without taking more room), or, when
    // storageAfterRecords, in a string storage of its own after them. The name IDs run through
    // 0 to 24.
    static std::vector<std::uint8_t> repeatedNameTable(std::uint16_t count, std::uint16_t stringLength, bool storageAfterRecords = false)
    {
        std::vector<std::uint8_t> out;
        put16(out, 0);
        put16(out, count);
        put16(out, static_cast<std::uint16_t>(storageAfterRecords ? 6 + 12 * count : 6));
        for (std::uint32_t r = 0; r < count; ++r) {
            put16(out, 3);
            put16(out, 1);
            put16(out, 0x409);
            put16(out, static_cast<std::uint16_t>(r % 25));
            put16(out, stringLength);
            put16(out, 0);
        }
        const std::size_t end = (storageAfterRecords ? out.size() : std::size_t(6)) + stringLength;
        while (out.size() < end)
            out.push_back(0x41);
        return out;
    }

    // A collection of faces that all use the one font's tables, padded with zeros to at least
    // minimumSize bytes. The faces point to the font's one table directory, or, when
    // ownDirectories, each to a copy of its own (so no two faces look alike by their offsets).
    static std::vector<std::uint8_t> collectionOf(const std::vector<std::uint8_t> &font, std::uint32_t faces, std::size_t minimumSize = 0,
                                                  bool ownDirectories = false)
    {
        std::vector<std::uint8_t> out;
        put32(out, 0x74746366);   // 'ttcf'
        put32(out, 0x00010000);
        put32(out, faces);
        const std::uint16_t tables = get16(font, 4);
        const std::uint32_t directorySize = 12 + 16u * tables;
        const std::uint32_t base = 12 + 4 * faces;
        const std::uint32_t fontAt = base + (ownDirectories ? directorySize * faces : 0);
        for (std::uint32_t i = 0; i < faces; ++i)
            put32(out, ownDirectories ? base + directorySize * i : fontAt);
        std::vector<std::uint8_t> shifted = font;
        for (std::uint32_t t = 0; t < tables && 12 + 16 * t + 16 <= font.size(); ++t)
            set32(shifted, 12 + 16 * t + 8, get32(font, 12 + 16 * t + 8) + fontAt);
        if (ownDirectories)
            for (std::uint32_t i = 0; i < faces; ++i)
                out.insert(out.end(), shifted.begin(), shifted.begin() + directorySize);
        out.insert(out.end(), shifted.begin(), shifted.end());
        if (out.size() < minimumSize)
            out.resize(minimumSize, 0);
        return out;
    }

    // A Windows raster font file (New Executable) whose FONT resource table is replaced by one of
    // faces entries that all name the file's first font, padded with zeros so that FreeType takes
    // the count (it asks 118 bytes per face). The file must be small enough for the new table to
    // lie within 64 KB of its NE header.
    static std::vector<std::uint8_t> rasterFileWithFaces(std::vector<std::uint8_t> fon, std::uint16_t faces)
    {
        auto le16 = [&](std::size_t at) { return static_cast<std::uint16_t>(fon[at] | fon[at + 1] << 8); };
        auto put16le = [](std::vector<std::uint8_t> &out, std::size_t at, std::uint16_t v) {
            out[at] = static_cast<std::uint8_t>(v);
            out[at + 1] = static_cast<std::uint8_t>(v >> 8);
        };
        const std::size_t header = fon[0x3C] | fon[0x3D] << 8 | fon[0x3E] << 16 | std::size_t(fon[0x3F]) << 24;
        std::size_t at = header + le16(header + 0x24);
        const std::uint16_t shift = le16(at);
        at += 2;
        std::vector<std::uint8_t> first;
        while (le16(at) != 0) {
            const std::uint16_t count = le16(at + 2);
            if (le16(at) == 0x8008) {
                first.assign(fon.begin() + static_cast<std::ptrdiff_t>(at + 8), fon.begin() + static_cast<std::ptrdiff_t>(at + 20));
                break;
            }
            at += 8 + 12 * std::size_t(count);
        }
        while (fon.size() % 16 != 0)
            fon.push_back(0);
        const std::size_t table = fon.size();
        std::vector<std::uint8_t> entries(2 + 8 + 12 * std::size_t(faces) + 2, 0);
        put16le(entries, 0, shift);
        put16le(entries, 2, 0x8008);
        put16le(entries, 4, faces);
        for (std::size_t i = 0; i < faces; ++i)
            std::copy(first.begin(), first.end(), entries.begin() + static_cast<std::ptrdiff_t>(10 + 12 * i));
        fon.insert(fon.end(), entries.begin(), entries.end());
        const std::size_t names = fon.size();
        fon.insert(fon.end(), 4, 0);
        put16le(fon, header + 0x24, static_cast<std::uint16_t>(table - header));
        put16le(fon, header + 0x26, static_cast<std::uint16_t>(names - header));
        if (fon.size() < 118 * std::size_t(faces))
            fon.resize(118 * std::size_t(faces), 0);
        return fon;
    }

    std::vector<std::uint8_t> build() const
    {
        std::vector<std::uint8_t> out;
        const std::uint16_t tables = static_cast<std::uint16_t>((m_other ? 1 : 0) + (m_noName ? 0 : 1));
        put32(out, 0x00010000);
        put16(out, tables);
        put16(out, 16);
        put16(out, 0);
        put16(out, 0);
        const std::uint32_t directoryEnd = 12 + 16u * tables;
        const std::uint32_t otherOffset = directoryEnd;
        const std::uint32_t nameOffset = directoryEnd + (m_other ? 8 : 0);
        if (m_other)
            putTable(out, "OS/2", otherOffset, 8);
        std::size_t storageSize = 0;
        for (const Record &r : m_records)
            storageSize += r.bytes.size();
        if (!m_noName)
            putTable(out, "name", nameOffset, static_cast<std::uint32_t>(6 + 12 * m_records.size() + storageSize));
        if (m_other)
            out.insert(out.end(), 8, 0xAB);
        if (m_noName)
            return out;
        const std::uint16_t count = static_cast<std::uint16_t>(m_records.size());
        put16(out, 0);
        put16(out, m_count >= 0 ? static_cast<std::uint16_t>(m_count) : count);
        put16(out, static_cast<std::uint16_t>(6 + 12 * count));
        std::vector<std::uint8_t> storage;
        for (const Record &r : m_records) {
            put16(out, r.platformID);
            put16(out, r.encodingID);
            put16(out, r.languageID);
            put16(out, r.nameID);
            put16(out, static_cast<std::uint16_t>(r.lengthOverride >= 0 ? r.lengthOverride : static_cast<int>(r.bytes.size())));
            put16(out, static_cast<std::uint16_t>(r.offsetOverride >= 0 ? r.offsetOverride : static_cast<int>(storage.size())));
            storage.insert(storage.end(), r.bytes.begin(), r.bytes.end());
        }
        out.insert(out.end(), storage.begin(), storage.end());
        return out;
    }

private:
    static void put16(std::vector<std::uint8_t> &out, std::uint16_t v)
    {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    }
    static void put32(std::vector<std::uint8_t> &out, std::uint32_t v)
    {
        put16(out, static_cast<std::uint16_t>(v >> 16));
        put16(out, static_cast<std::uint16_t>(v));
    }
    static std::uint16_t get16(const std::vector<std::uint8_t> &in, std::size_t at)
    {
        return static_cast<std::uint16_t>(in[at] << 8 | in[at + 1]);
    }
    static std::uint32_t get32(const std::vector<std::uint8_t> &in, std::size_t at)
    {
        return std::uint32_t(get16(in, at)) << 16 | get16(in, at + 2);
    }
    static void set32(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
    static void putTable(std::vector<std::uint8_t> &out, const char *tag, std::uint32_t offset, std::uint32_t length)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(tag[i]));
        put32(out, 0);
        put32(out, offset);
        put32(out, length);
    }

    std::vector<Record> m_records;
    bool m_other = false;
    bool m_noName = false;
    int m_count = -1;
};
