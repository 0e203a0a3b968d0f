// SPDX-License-Identifier: MIT
#include "WebFont.h"

#include "ByteSource.h"

#include <woff2/decode.h>
#include <woff2/output.h>
#include <zlib.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kWoffTag = 0x774F4646;    // 'wOFF'
constexpr std::uint32_t kWoff2Tag = 0x774F4632;   // 'wOF2'
constexpr std::size_t kWoffHeader = 44;
constexpr std::size_t kWoffEntry = 20;

void put16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

void put32(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

struct WoffTable {
    std::uint32_t tag, offset, compLength, origLength, checksum;
};

std::optional<QByteArray> decodeWoff(const QByteArray &content, qint64 limit)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(content.constData());
    const std::uint64_t size = static_cast<std::uint64_t>(content.size());
    if (size < kWoffHeader)
        return std::nullopt;
    const std::uint16_t numTables = u16be(bytes + 12);
    if (numTables == 0 || kWoffHeader + std::uint64_t(numTables) * kWoffEntry > size)
        return std::nullopt;
    // The sfnt it unpacks to: the offset table, the table records, then each table padded to four
    // bytes. Its size is summed from the entries, which must all lie inside the content.
    std::vector<WoffTable> tables(numTables);
    std::uint64_t total = 12 + 16 * std::uint64_t(numTables);
    for (std::size_t i = 0; i < numTables; ++i) {
        const std::uint8_t *e = bytes + kWoffHeader + i * kWoffEntry;
        WoffTable t{u32be(e), u32be(e + 4), u32be(e + 8), u32be(e + 12), u32be(e + 16)};
        if (std::uint64_t(t.offset) + t.compLength > size || t.compLength > t.origLength)
            return std::nullopt;
        total += (std::uint64_t(t.origLength) + 3) & ~std::uint64_t(3);
        if (total > static_cast<std::uint64_t>(limit))
            return std::nullopt;
        tables[i] = t;
    }
    QByteArray out(static_cast<qsizetype>(total), '\0');
    auto *o = reinterpret_cast<std::uint8_t *>(out.data());
    put32(o, u32be(bytes + 4));   // the flavour: the sfnt version
    put16(o + 4, numTables);
    std::uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= numTables)
        ++entrySelector;
    const std::uint16_t searchRange = static_cast<std::uint16_t>(16u << entrySelector);
    put16(o + 6, searchRange);
    put16(o + 8, entrySelector);
    put16(o + 10, static_cast<std::uint16_t>(numTables * 16 - searchRange));
    std::uint64_t at = 12 + 16 * std::uint64_t(numTables);
    for (std::size_t i = 0; i < numTables; ++i) {
        const WoffTable &t = tables[i];
        std::uint8_t *record = o + 12 + 16 * i;
        put32(record, t.tag);
        put32(record + 4, t.checksum);
        put32(record + 8, static_cast<std::uint32_t>(at));
        put32(record + 12, t.origLength);
        if (t.compLength == t.origLength) {
            std::copy_n(bytes + t.offset, t.origLength, o + at);
        } else {
            uLongf length = t.origLength;
            if (::uncompress(o + at, &length, bytes + t.offset, t.compLength) != Z_OK || length != t.origLength)
                return std::nullopt;
        }
        at += (std::uint64_t(t.origLength) + 3) & ~std::uint64_t(3);
    }
    return out;
}

std::optional<QByteArray> decodeWoff2(const QByteArray &content, qint64 limit)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(content.constData());
    const std::size_t size = static_cast<std::size_t>(content.size());
    // The header's claim of the unpacked size is only a first guess for the buffer; the output
    // itself refuses to grow past the limit whatever the claim.
    const std::size_t claimed = woff2::ComputeWOFF2FinalSize(bytes, size);
    if (claimed == 0 || claimed > static_cast<std::size_t>(limit))
        return std::nullopt;
    // Room for the claimed size at once: the output grows by every table and glyph it writes,
    // and growing a string to each new exact size would copy it over and over.
    std::string buffer;
    buffer.reserve(claimed);
    woff2::WOFF2StringOut out(&buffer);
    out.SetMaxSize(static_cast<std::size_t>(limit));
    if (!woff2::ConvertWOFF2ToTTF(bytes, size, &out))
        return std::nullopt;
    return QByteArray(buffer.data(), static_cast<qsizetype>(out.Size()));
}

}

WebFontKind webFontKind(const QByteArray &content)
{
    if (content.size() < 4)
        return WebFontKind::None;
    const std::uint32_t tag = u32be(reinterpret_cast<const std::uint8_t *>(content.constData()));
    return tag == kWoffTag ? WebFontKind::Woff : tag == kWoff2Tag ? WebFontKind::Woff2 : WebFontKind::None;
}

std::optional<QByteArray> decodeWebFont(const QByteArray &content, qint64 limit)
{
    // Loading a web font unpacks it twice, for its names and for FreeType and the toolkit, and
    // unpacking a WOFF2 costs tens of milliseconds: the last result is kept for the same bytes.
    struct Last {
        QByteArray content;
        qint64 limit = 0;
        std::optional<QByteArray> result;
    };
    static std::mutex lock;
    static Last last;
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (last.limit == limit && !last.content.isEmpty() && last.content == content)
            return last.result;
    }
    std::optional<QByteArray> result;
    // Only ordinary sizes are kept: the kept bytes live until the next web font.
    constexpr qsizetype kKeptLimit = 8 * 1024 * 1024;
    switch (webFontKind(content)) {
    case WebFontKind::Woff: result = decodeWoff(content, limit); break;
    case WebFontKind::Woff2: result = decodeWoff2(content, limit); break;
    case WebFontKind::None: break;
    }
    if (content.size() <= kKeptLimit && (!result || result->size() <= kKeptLimit)) {
        const std::lock_guard<std::mutex> guard(lock);
        last = {content, limit, result};
    }
    return result;
}

std::optional<QByteArray> unpackedFontContent(const QByteArray &content, qint64 limit)
{
    if (webFontKind(content) == WebFontKind::None)
        return content;
    return decodeWebFont(content, limit);
}
