// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Single- and double-byte code pages through iconv.
namespace CodePage {
// The iconv name of the code page that shows the bytes of a Windows charset; empty for the
// symbol charset (2), whose bytes map to U+F000 + byte.
const char *forCharset(int charset);
// Bytes in the named code page as text; bytes that do not convert give U+FFFD.
QString decode(const char *codePage, const QByteArray &bytes);
// The text of one byte in a charset; empty for a lead byte of a double-byte code page.
QString byteText(int charset, unsigned char byte);
// The byte that stands for a character in a charset, if one does.
std::optional<unsigned char> byteOf(int charset, QChar character);
}
