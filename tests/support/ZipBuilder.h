// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <zlib.h>

#include <cstdint>
#include <vector>

// Builds a ZIP archive field by field: stored entries, the central directory and the end
// record, with room for a stub ahead, a comment, bytes after the end, and Zip64 records.
class ZipBuilder {
public:
    struct Entry {
        QByteArray name;
        QByteArray data;
        std::uint16_t flags = 0;
        std::uint8_t host = 3;           // Unix
        std::uint8_t versionMadeBy = 30;
        std::uint32_t externalAttributes = 0100644u << 16;
        std::uint32_t signature = 0x02014B50;   // of its central header
        bool deflated = false;                  // stored raw-deflated (method 8) instead of as is
        std::int64_t declaredSize = -1;         // uncompressed size written in the headers, when not the true one
        std::int64_t declaredCompressed = -1;   // compressed size written in the headers, when not the true one
        std::uint16_t disk = 0;                 // volume of its local header, in its central header
    };

    ZipBuilder &add(const QByteArray &name, const QByteArray &data = "data")
    {
        entries.push_back({name, data});
        return *this;
    }

    std::vector<Entry> entries;
    QByteArray stub;                     // bytes ahead of the archive (a self-extractor)
    bool offsetsIncludeStub = false;     // stored offsets count the stub
    QByteArray comment;
    QByteArray trailing;                 // bytes after the end record and comment
    bool zip64 = false;                  // the counts and offset go to Zip64 records

    QByteArray build() const
    {
        QByteArray out = stub;
        const qint64 base = offsetsIncludeStub ? 0 : stub.size();
        std::vector<std::uint32_t> offsets;
        std::vector<QByteArray> packed;
        for (const Entry &e : entries) {
            packed.push_back(e.deflated ? deflateRaw(e.data) : e.data);
            offsets.push_back(static_cast<std::uint32_t>(out.size() - base));
            put32(out, 0x04034B50);
            put16(out, 20);
            put16(out, e.flags);
            put16(out, e.deflated ? 8 : 0);
            put16(out, 0);
            put16(out, 0x21);
            put32(out, crcOf(e.data));
            putSizes(out, e, packed.back());
            put16(out, static_cast<std::uint16_t>(e.name.size()));
            put16(out, 0);
            out += e.name;
            out += packed.back();
        }
        const qint64 directory = out.size() - base;
        for (size_t i = 0; i < entries.size(); ++i) {
            const Entry &e = entries[i];
            put32(out, e.signature);
            out += static_cast<char>(e.versionMadeBy);
            out += static_cast<char>(e.host);
            put16(out, 20);
            put16(out, e.flags);
            put16(out, e.deflated ? 8 : 0);
            put16(out, 0);
            put16(out, 0x21);
            put32(out, crcOf(e.data));
            putSizes(out, e, packed[i]);
            put16(out, static_cast<std::uint16_t>(e.name.size()));
            put16(out, 0);
            put16(out, 0);
            put16(out, e.disk);
            put16(out, 0);
            put32(out, e.externalAttributes);
            put32(out, offsets[i]);
            out += e.name;
        }
        const qint64 directorySize = out.size() - base - directory;
        if (zip64) {
            const qint64 end64 = out.size() - base;
            put32(out, 0x06064B50);
            put64(out, 44);
            put16(out, 45);
            put16(out, 45);
            put32(out, 0);
            put32(out, 0);
            put64(out, entries.size());
            put64(out, entries.size());
            put64(out, static_cast<std::uint64_t>(directorySize));
            put64(out, static_cast<std::uint64_t>(directory));
            put32(out, 0x07064B50);
            put32(out, 0);
            put64(out, static_cast<std::uint64_t>(end64));
            put32(out, 1);
        }
        put32(out, 0x06054B50);
        put16(out, 0);
        put16(out, 0);
        put16(out, zip64 ? 0xFFFF : static_cast<std::uint16_t>(entries.size()));
        put16(out, zip64 ? 0xFFFF : static_cast<std::uint16_t>(entries.size()));
        put32(out, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(directorySize));
        put32(out, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(directory));
        put16(out, static_cast<std::uint16_t>(comment.size()));
        out += comment;
        out += trailing;
        return out;
    }

    bool write(const QString &path) const
    {
        QFile file(path);
        const QByteArray content = build();
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }

    static void putSizes(QByteArray &out, const Entry &e, const QByteArray &packed)
    {
        put32(out, static_cast<std::uint32_t>(e.declaredCompressed >= 0 ? e.declaredCompressed : packed.size()));
        put32(out, static_cast<std::uint32_t>(e.declaredSize >= 0 ? e.declaredSize : e.data.size()));
    }
    static QByteArray deflateRaw(const QByteArray &data)
    {
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))), '\0');
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        out.resize(static_cast<qsizetype>(z.total_out));
        deflateEnd(&z);
        return out;
    }
    static std::uint32_t crcOf(const QByteArray &data)
    {
        return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), static_cast<uInt>(data.size())));
    }
    static void put16(QByteArray &out, std::uint16_t v)
    {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    }
    static void put32(QByteArray &out, std::uint32_t v)
    {
        put16(out, static_cast<std::uint16_t>(v));
        put16(out, static_cast<std::uint16_t>(v >> 16));
    }
    static void put64(QByteArray &out, std::uint64_t v)
    {
        put32(out, static_cast<std::uint32_t>(v));
        put32(out, static_cast<std::uint32_t>(v >> 32));
    }
};
