// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

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
        if (!m_noName)
            putTable(out, "name", nameOffset, 0);
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
