// SPDX-License-Identifier: MIT
#include "PrivateFamily.h"

#include <QList>

#include <cstdint>

namespace {

std::uint32_t get32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(b.constData() + at);
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
std::uint16_t get16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(b.constData() + at);
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
std::uint16_t le16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(b.constData() + at);
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t le32(const QByteArray &b, qsizetype at)
{
    return le16(b, at) | std::uint32_t(le16(b, at + 2)) << 16;
}
void put32(QByteArray &b, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}
void put16(QByteArray &b, qsizetype at, std::uint16_t v)
{
    b[at] = static_cast<char>(v >> 8);
    b[at + 1] = static_cast<char>(v);
}

bool isSfntTag(std::uint32_t tag)
{
    return tag == 0x00010000 || tag == 0x4F54544F || tag == 0x74727565;   // 1.0, 'OTTO', 'true'
}

// A naming table with the family, the style (plain unless given), the full and the PostScript
// name, in Windows Unicode only: the toolkit and FreeType read nothing else for the family.
// A style from a font file is cut to this length: the table's 16-bit lengths and offsets hold it.
constexpr qsizetype kStyleLimit = 63;

QByteArray nameTable(const QString &family, const QString &style)
{
    QString postScript = family;
    postScript.replace(QLatin1Char(' '), QLatin1Char('-'));
    const QList<std::pair<int, QString>> names{{1, family}, {2, style.isEmpty() ? QStringLiteral("Regular") : style.left(kStyleLimit)}, {4, family}, {6, postScript}};
    QByteArray strings;
    QByteArray table(6 + 12 * names.size(), '\0');
    put16(table, 2, static_cast<std::uint16_t>(names.size()));
    put16(table, 4, static_cast<std::uint16_t>(table.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const qsizetype at = 6 + 12 * i;
        put16(table, at, 3);
        put16(table, at + 2, 1);
        put16(table, at + 4, 0x409);
        put16(table, at + 6, static_cast<std::uint16_t>(names[i].first));
        QByteArray utf16(names[i].second.size() * 2, '\0');
        for (qsizetype c = 0; c < names[i].second.size(); ++c)
            put16(utf16, 2 * c, names[i].second[c].unicode());
        put16(table, at + 8, static_cast<std::uint16_t>(utf16.size()));
        put16(table, at + 10, static_cast<std::uint16_t>(strings.size()));
        strings += utf16;
    }
    return table + strings;
}

// Points the 'name' entry of the table directory at `at` to a new table appended to the content.
bool renameSfntFace(QByteArray &content, qsizetype at, const QString &family, const QString &style = QString())
{
    if (at < 0 || at + 12 > content.size() || !isSfntTag(get32(content, at)))
        return false;
    const int tables = get16(content, at + 4);
    if (at + 12 + 16 * qsizetype(tables) > content.size())
        return false;
    for (int t = 0; t < tables; ++t) {
        const qsizetype entry = at + 12 + 16 * t;
        if (get32(content, entry) != 0x6E616D65)   // 'name'
            continue;
        while (content.size() % 4)
            content.append('\0');
        const QByteArray table = nameTable(family, style);
        if (content.size() + table.size() > 0x7FFFFFFF)
            return false;
        put32(content, entry + 8, static_cast<std::uint32_t>(content.size()));
        put32(content, entry + 12, static_cast<std::uint32_t>(table.size()));
        content += table;
        return true;
    }
    return false;
}

QByteArray renamedSfnt(QByteArray content, int serial, const QHash<int, QString> &sharedFaces)
{
    if (content.size() >= 12 && get32(content, 0) == 0x74746366) {   // 'ttcf'
        const std::uint32_t faces = get32(content, 8);
        if (faces == 0 || faces > 0xFFFF || 12 + 4 * qsizetype(faces) > content.size())
            return {};
        for (std::uint32_t f = 0; f < faces; ++f) {
            const auto shared = sharedFaces.constFind(static_cast<int>(f));
            const bool renamed = shared != sharedFaces.cend()
                ? renameSfntFace(content, get32(content, 12 + 4 * f), privateSharedFamily(serial), *shared)
                : renameSfntFace(content, get32(content, 12 + 4 * f), privateFaceFamily(content, serial, static_cast<int>(f)));
            if (!renamed)
                return {};
        }
        return content;
    }
    return renameSfntFace(content, 0, privateFaceFamily(content, serial, 0), sharedFaces.value(0)) ? content : QByteArray();
}

// One raster face (an FNT resource) renamed within its own name field, its codes declared byte
// codes (FreeType then offers them through a character map the toolkit uses).
bool renameRasterFace(QByteArray &content, qsizetype at, qsizetype size, const QByteArray &family)
{
    constexpr qsizetype kHeader = 118;   // the version 2 header and its flags
    if (at < 0 || size < kHeader || at + size > content.size())
        return false;
    const std::uint16_t version = le16(content, at);
    if (version != 0x200 && version != 0x300)
        return false;
    const std::uint32_t faceAt = le32(content, at + 105);
    if (faceAt >= size)
        return false;
    const qsizetype start = at + faceAt;
    const qsizetype nul = content.indexOf('\0', start);
    if (nul < 0 || nul >= at + size || nul - start < family.size())
        return false;
    for (qsizetype i = start; i < nul; ++i)
        content[i] = i - start < family.size() ? family[i - start] : '\0';
    content[at + 85] = static_cast<char>(77);   // the Macintosh character set: codes are bytes
    return true;
}

QByteArray renamedRaster(QByteArray content, const QByteArray &family)
{
    if (content.size() >= 2 && le16(content, 0) != 0x5A4D)   // a bare .fnt
        return renameRasterFace(content, 0, content.size(), family) ? content : QByteArray();
    if (content.size() < 0x40)
        return {};
    const qsizetype ne = le32(content, 0x3C);
    if (ne <= 0 || ne + 0x40 > content.size() || le16(content, ne) != 0x454E)   // 'NE'
        return {};
    qsizetype table = ne + le16(content, ne + 0x24);
    if (table + 2 > content.size())
        return {};
    const int shift = le16(content, table);
    if (shift > 16)
        return {};
    table += 2;
    int renamed = 0;
    // Resource types until a zero type id: FONT (0x8008) entries are the faces.
    while (table + 8 <= content.size()) {
        const std::uint16_t type = le16(content, table);
        if (type == 0)
            break;
        const int count = le16(content, table + 2);
        table += 8;
        if (table + 12 * qsizetype(count) > content.size())
            return {};
        for (int i = 0; i < count; ++i, table += 12) {
            if (type != 0x8008)
                continue;
            const qsizetype offset = qsizetype(le16(content, table)) << shift;
            const qsizetype length = qsizetype(le16(content, table + 2)) << shift;
            if (!renameRasterFace(content, offset, std::min(length, content.size() - offset), family))
                return {};
            ++renamed;
        }
    }
    return renamed > 0 ? content : QByteArray();
}

// A Type 1 font's /FamilyName string replaced; a binary (PFB) file's first segment length follows.
QByteArray renamedType1(QByteArray content, const QByteArray &family)
{
    const bool pfb = content.size() >= 6 && static_cast<std::uint8_t>(content[0]) == 0x80 && content[1] == 1;
    const qsizetype clearEnd = pfb ? 6 + qsizetype(le32(content, 2)) : content.indexOf("eexec");
    if (clearEnd <= 0 || clearEnd > content.size())
        return {};
    const qsizetype key = content.indexOf("/FamilyName", 0);
    if (key < 0 || key >= clearEnd)
        return {};
    const qsizetype open = content.indexOf('(', key);
    const qsizetype close = open < 0 ? -1 : content.indexOf(')', open);
    if (open < 0 || close < 0 || close >= clearEnd || content.mid(key + 11, open - key - 11).trimmed().size() != 0)
        return {};
    content.replace(open + 1, close - open - 1, family);
    if (pfb) {
        const qint64 length = qint64(le32(content, 2)) + family.size() - (close - open - 1);
        for (int i = 0; i < 4; ++i)
            content[2 + i] = static_cast<char>(length >> (8 * i));
    }
    return content;
}

}

namespace {

bool isCollection(const QByteArray &content)
{
    return content.size() >= 4 && get32(content, 0) == 0x74746366;
}

bool isType1(const QByteArray &content)
{
    return content.startsWith("%!") || (content.size() >= 2 && static_cast<std::uint8_t>(content[0]) == 0x80 && content[1] == 1);
}

}

QString privateFaceFamily(const QByteArray &content, int serial, int faceIndex)
{
    if (content.size() >= 4 && !isCollection(content) && !isSfntTag(get32(content, 0)) && !isType1(content))
        return QLatin1Char('~') + QString::number(serial, 36);
    const QString family = privateSharedFamily(serial);
    return isCollection(content) ? QStringLiteral("%1 %2").arg(family).arg(faceIndex) : family;
}

QString privateSharedFamily(int serial)
{
    return QStringLiteral("Glyvanta Preview %1").arg(serial);
}

QByteArray withPrivateFamily(const QByteArray &content, int serial, const QHash<int, QString> &sharedFaces)
{
    if (content.size() < 12)
        return {};
    const QString family = privateFaceFamily(content, serial, 0);
    const std::uint32_t tag = get32(content, 0);
    if (tag == 0x74746366 || isSfntTag(tag))
        return renamedSfnt(content, serial, sharedFaces);
    if (isType1(content))
        return renamedType1(content, family.toLatin1());
    return renamedRaster(content, family.toLatin1());
}
