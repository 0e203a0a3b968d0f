// SPDX-License-Identifier: MIT
#include "CodePage.h"

#include <QHash>

#include <array>
#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace {

struct Converter {
    iconv_t handle = reinterpret_cast<iconv_t>(-1);
    explicit Converter(const char *to, const char *from) { handle = iconv_open(to, from); }
    ~Converter()
    {
        if (handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle);
    }
    bool ok() const { return handle != reinterpret_cast<iconv_t>(-1); }
};

// Converts one chunk; returns false when the input does not convert completely.
bool convert(const char *to, const char *from, const QByteArray &in, QByteArray *out)
{
    Converter c(to, from);
    if (!c.ok())
        return false;
    out->resize(in.size() * 4 + 8);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char *dst = out->data();
    size_t dstLeft = static_cast<size_t>(out->size());
    const size_t r = iconv(c.handle, &src, &srcLeft, &dst, &dstLeft);
    if (r == static_cast<size_t>(-1) || srcLeft != 0)
        return false;
    // Flush any shift state.
    iconv(c.handle, nullptr, nullptr, &dst, &dstLeft);
    out->resize(out->size() - static_cast<qsizetype>(dstLeft));
    return true;
}

}

const char *CodePage::forCharset(int charset)
{
    switch (charset) {
    case 0:
    case 1: return "CP1252";
    case 2: return "";
    case 77: return "MACINTOSH";
    case 128: return "CP932";
    case 129: return "CP949";
    case 130: return "JOHAB";
    case 134: return "CP936";
    case 136: return "CP950";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 163: return "CP1258";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    case 255: return "CP437";
    default: return "CP1252";
    }
}

namespace {

// The text of each byte of a code page, built once per code page. A byte that does not stand
// alone (a lead byte of a double-byte code page, or an unassigned byte) has no text.
const std::array<QString, 256> &tableFor(const char *codePage)
{
    static std::mutex lock;
    static QHash<QByteArray, std::array<QString, 256>> tables;
    const std::lock_guard guard(lock);
    auto it = tables.find(QByteArray(codePage));
    if (it == tables.end()) {
        std::array<QString, 256> table;
        for (int b = 0; b < 256; ++b) {
            QByteArray out;
            if (convert("UTF-8", codePage, QByteArray(1, static_cast<char>(b)), &out))
                table[static_cast<size_t>(b)] = QString::fromUtf8(out);
        }
        it = tables.insert(QByteArray(codePage), table);
    }
    return *it;
}

}

QString CodePage::decode(const char *codePage, const QByteArray &bytes)
{
    QByteArray whole;
    if (convert("UTF-8", codePage, bytes, &whole))
        return QString::fromUtf8(whole);
    // Byte by byte, so that one byte that does not convert spoils only itself.
    const std::array<QString, 256> &table = tableFor(codePage);
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const QString &piece = table[static_cast<unsigned char>(c)];
        text += piece.isEmpty() ? QString(QChar(0xFFFD)) : piece;
    }
    return text;
}

QString CodePage::byteText(int charset, unsigned char byte)
{
    const char *codePage = forCharset(charset);
    if (!*codePage)
        return QString(QChar(char16_t(0xF000 + byte)));
    return tableFor(codePage)[byte];
}

std::optional<unsigned char> CodePage::byteOf(int charset, QChar character)
{
    const char *codePage = forCharset(charset);
    if (!*codePage) {
        if (character.unicode() >= 0xF000 && character.unicode() <= 0xF0FF)
            return static_cast<unsigned char>(character.unicode() - 0xF000);
        if (character.unicode() < 256)
            return static_cast<unsigned char>(character.unicode());
        return std::nullopt;
    }
    for (int b = 0; b < 256; ++b) {
        const QString text = byteText(charset, static_cast<unsigned char>(b));
        if (text.size() == 1 && text[0] == character)
            return static_cast<unsigned char>(b);
    }
    return std::nullopt;
}
