// SPDX-License-Identifier: MIT
#include "FontFactsCache.h"

#include <QHashFunctions>

#include <cstring>

// Layout, little-endian throughout:
//   header  "GlyvFact" | u32 version | u32 face count
//   face    u32 path length | path bytes | i32 index | i64 size | i64 mtime | u8 flags
//           | u8 charset count | charset bytes | i32 weight, pitchAndFamily, lastChar, lastCode,
//           width, height | five names (family, style, full, typographic family and style),
//           each u32 length | UTF-8 bytes
// A full name equal to the family is written with the length 0xFFFFFFFF and no bytes, so that the
// two share one string in memory.

namespace {

constexpr char kMagic[8] = {'G', 'l', 'y', 'v', 'F', 'a', 'c', 't'};
constexpr quint32 kVersion = 4;
constexpr quint32 kSameAsFamily = 0xFFFFFFFFu;
constexpr int kHeaderSize = 16;
// The least a face can take: lengths, numbers and flags with empty names and no charsets.
constexpr qsizetype kMinFaceSize = 4 + 4 + 8 + 8 + 1 + 1 + 6 * 4 + 5 * 4;

enum : quint8 { kValid = 1, kRaster = 2, kItalic = 4 };

class Cursor {
public:
    Cursor(const char *at, const char *end) : m_at(at), m_end(end) {}
    bool ok() const { return m_ok; }
    qsizetype left() const { return m_end - m_at; }
    const char *take(qsizetype n)
    {
        if (!m_ok || n < 0 || n > left()) {
            m_ok = false;
            return nullptr;
        }
        const char *at = m_at;
        m_at += n;
        return at;
    }
    quint64 le(int bytes)
    {
        const auto *p = reinterpret_cast<const unsigned char *>(take(bytes));
        quint64 v = 0;
        for (int i = 0; p && i < bytes; ++i)
            v |= quint64(p[i]) << (8 * i);
        return v;
    }
    quint8 u8() { return static_cast<quint8>(le(1)); }
    quint32 u32() { return static_cast<quint32>(le(4)); }
    qint32 i32() { return static_cast<qint32>(u32()); }
    qint64 i64() { return static_cast<qint64>(le(8)); }

private:
    const char *m_at;
    const char *m_end;
    bool m_ok = true;
};

void putLe(QByteArray &out, quint64 v, int bytes)
{
    char b[8];
    for (int i = 0; i < bytes; ++i)
        b[i] = static_cast<char>(v >> (8 * i));
    out.append(b, bytes);
}

void putName(QByteArray &out, const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    putLe(out, static_cast<quint32>(utf8.size()), 4);
    out.append(utf8);
}

// Styles repeat across thousands of faces ("Regular", "Bold"): one string each.
class StyleNames {
public:
    QString get(const char *bytes, qsizetype size)
    {
        const QByteArray key = QByteArray::fromRawData(bytes, size);
        const auto it = m_names.constFind(key);
        if (it != m_names.cend())
            return *it;
        const QString name = QString::fromUtf8(bytes, size);
        m_names.insert(QByteArray(bytes, size), name);
        return name;
    }

private:
    QHash<QByteArray, QString> m_names;
};

bool readFace(Cursor &in, StyleNames &styles, FactsCacheKey &key, CachedFacts &entry)
{
    const quint32 pathSize = in.u32();
    if (pathSize == 0 || pathSize > quint32(in.left()))
        return false;
    const char *path = in.take(pathSize);
    key.path = QByteArray(path, pathSize);
    key.index = in.i32();
    entry.size = in.i64();
    entry.mtime = in.i64();
    FontFacts &f = entry.facts;
    const quint8 flags = in.u8();
    f.valid = flags & kValid;
    f.raster = flags & kRaster;
    f.italic = flags & kItalic;
    const quint8 charsets = in.u8();
    const auto *codes = reinterpret_cast<const unsigned char *>(in.take(charsets));
    if (!codes && charsets > 0)
        return false;
    f.charsets.assign(codes, codes + charsets);
    f.weight = in.i32();
    f.pitchAndFamily = in.i32();
    f.lastChar = in.i32();
    f.lastCode = in.i32();
    f.width = in.i32();
    f.height = in.i32();
    QString *names[5] = {&f.family, &f.style, &f.fullName, &f.typographicFamily, &f.typographicStyle};
    for (int i = 0; i < 5; ++i) {
        const quint32 size = in.u32();
        if (i == 2 && size == kSameAsFamily) {
            f.fullName = f.family;
            continue;
        }
        if (size > quint32(in.left()))
            return false;
        const char *bytes = in.take(size);
        *names[i] = i == 1 || i == 4 ? styles.get(bytes, size) : QString::fromUtf8(bytes, size);
    }
    return in.ok() && key.index >= 0;
}

}

size_t qHash(const FactsCacheKey &key, size_t seed) noexcept
{
    return qHashMulti(seed, key.path, key.index);
}

bool parseFactsCache(const QByteArray &content, FactsCache &cache)
{
    cache.clear();
    Cursor in(content.constData(), content.constData() + content.size());
    const char *magic = in.take(sizeof kMagic);
    if (!magic || std::memcmp(magic, kMagic, sizeof kMagic) != 0 || in.u32() != kVersion)
        return false;
    const quint32 count = in.u32();
    // The count is believed only as far as the bytes after the header can hold that many faces.
    if (!in.ok() || count > quint64(content.size() - kHeaderSize) / kMinFaceSize)
        return false;
    FactsCache read;
    read.reserve(count);
    StyleNames styles;
    for (quint32 i = 0; i < count; ++i) {
        FactsCacheKey key;
        CachedFacts entry;
        if (!readFace(in, styles, key, entry))
            return false;
        read.insert(std::move(key), std::move(entry));
    }
    // Bytes after the last face mean the file is not what was written.
    if (in.left() != 0)
        return false;
    cache = std::move(read);
    return true;
}

FactsCacheWriter::FactsCacheWriter()
{
    m_out.append(kMagic, sizeof kMagic);
    putLe(m_out, kVersion, 4);
    putLe(m_out, 0, 4);
}

void FactsCacheWriter::add(const FactsCacheKey &key, const CachedFacts &entry)
{
    const FontFacts &f = entry.facts;
    putLe(m_out, static_cast<quint32>(key.path.size()), 4);
    m_out.append(key.path);
    putLe(m_out, static_cast<quint32>(key.index), 4);
    putLe(m_out, static_cast<quint64>(entry.size), 8);
    putLe(m_out, static_cast<quint64>(entry.mtime), 8);
    putLe(m_out, (f.valid ? kValid : 0) | (f.raster ? kRaster : 0) | (f.italic ? kItalic : 0), 1);
    // Charset codes are bytes (a LOGFONT's lfCharSet); a face has at most one per code-page bit.
    const qsizetype charsets = std::min<qsizetype>(static_cast<qsizetype>(f.charsets.size()), 255);
    putLe(m_out, static_cast<quint64>(charsets), 1);
    for (qsizetype i = 0; i < charsets; ++i)
        putLe(m_out, static_cast<quint8>(f.charsets[static_cast<size_t>(i)]), 1);
    for (int v : {f.weight, f.pitchAndFamily, f.lastChar, f.lastCode, f.width, f.height})
        putLe(m_out, static_cast<quint32>(v), 4);
    putName(m_out, f.family);
    putName(m_out, f.style);
    if (f.fullName == f.family)
        putLe(m_out, kSameAsFamily, 4);
    else
        putName(m_out, f.fullName);
    putName(m_out, f.typographicFamily);
    putName(m_out, f.typographicStyle);
    ++m_count;
}

QByteArray FactsCacheWriter::finish()
{
    for (int i = 0; i < 4; ++i)
        m_out[12 + i] = static_cast<char>(m_count >> (8 * i));
    return m_out;
}
