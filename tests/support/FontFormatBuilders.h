// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>

#include <zlib.h>

#include <cstdint>

// Font files of the formats the Debian packages do not ship, built from real fonts: a collection
// of sfnt fonts, a WOFF file (zlib-packed tables) and, through Debian's woff2_compress, a WOFF2.
namespace FontFormatBuilders {

inline std::uint32_t get32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(b.constData() + at);
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
inline std::uint16_t get16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(b.constData() + at);
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline void put32(QByteArray &b, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}
inline void put16(QByteArray &b, qsizetype at, std::uint16_t v)
{
    b[at] = static_cast<char>(v >> 8);
    b[at + 1] = static_cast<char>(v);
}
inline void pad4(QByteArray &b)
{
    while (b.size() % 4 != 0)
        b.append('\0');
}

inline QByteArray fileBytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A TrueType collection ('ttcf' 1.0) of the given sfnt fonts, each with its own tables.
inline QByteArray collection(const QList<QByteArray> &fonts)
{
    QByteArray out(12 + 4 * fonts.size(), '\0');
    put32(out, 0, 0x74746366);
    put32(out, 4, 0x00010000);
    put32(out, 8, static_cast<std::uint32_t>(fonts.size()));
    for (qsizetype f = 0; f < fonts.size(); ++f) {
        const QByteArray &font = fonts[f];
        pad4(out);
        const qsizetype directory = out.size();
        put32(out, 12 + 4 * f, static_cast<std::uint32_t>(directory));
        const std::uint16_t tables = get16(font, 4);
        out.append(font.left(12 + 16 * tables));
        for (std::uint16_t t = 0; t < tables; ++t) {
            const qsizetype record = 12 + 16 * t;
            pad4(out);
            put32(out, directory + record + 8, static_cast<std::uint32_t>(out.size()));
            out.append(font.mid(get32(font, record + 8), get32(font, record + 12)));
        }
    }
    return out;
}

// A WOFF 1.0 file of an sfnt font: each table zlib-packed when that makes it smaller.
inline QByteArray woff(const QByteArray &sfnt)
{
    const std::uint16_t tables = get16(sfnt, 4);
    QByteArray out(44 + 20 * tables, '\0');
    put32(out, 0, 0x774F4646);
    put32(out, 4, get32(sfnt, 0));
    put16(out, 12, tables);
    std::uint32_t total = 12 + 16 * tables;
    for (std::uint16_t t = 0; t < tables; ++t) {
        const qsizetype record = 12 + 16 * t;
        const QByteArray data = sfnt.mid(get32(sfnt, record + 8), get32(sfnt, record + 12));
        QByteArray packed(static_cast<qsizetype>(compressBound(static_cast<uLong>(data.size()))), '\0');
        uLongf packedSize = static_cast<uLongf>(packed.size());
        compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize, reinterpret_cast<const Bytef *>(data.constData()),
                  static_cast<uLong>(data.size()), 9);
        packed.resize(static_cast<qsizetype>(packedSize));
        const QByteArray &stored = packed.size() < data.size() ? packed : data;
        pad4(out);
        const qsizetype entry = 44 + 20 * t;
        put32(out, entry, get32(sfnt, record));
        put32(out, entry + 4, static_cast<std::uint32_t>(out.size()));
        put32(out, entry + 8, static_cast<std::uint32_t>(stored.size()));
        put32(out, entry + 12, static_cast<std::uint32_t>(data.size()));
        put32(out, entry + 16, get32(sfnt, record + 4));
        out.append(stored);
        total += (static_cast<std::uint32_t>(data.size()) + 3) & ~3u;
    }
    pad4(out);
    put32(out, 8, static_cast<std::uint32_t>(out.size()));
    put32(out, 16, total);
    return out;
}

// A WOFF2 file of an sfnt font, made by woff2_compress in a scratch folder; empty when the tool
// fails.
inline QByteArray woff2(const QByteArray &sfnt, const QString &scratchFolder)
{
    QDir().mkpath(scratchFolder);
    const QString source = scratchFolder + QStringLiteral("/source.ttf");
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly) || file.write(sfnt) != sfnt.size())
        return {};
    file.close();
    QFile::remove(scratchFolder + QStringLiteral("/source.woff2"));
    if (QProcess::execute(QStringLiteral("woff2_compress"), {source}) != 0)
        return {};
    return fileBytesOf(scratchFolder + QStringLiteral("/source.woff2"));
}

}
