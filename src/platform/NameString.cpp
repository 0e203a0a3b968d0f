// SPDX-License-Identifier: MIT
#include "NameString.h"

#include "CodePage.h"

#include <algorithm>

QString decodeNameString(std::uint16_t platformId, std::span<const std::uint8_t> bytes)
{
    QString text;
    if (platformId == 0 || platformId == 3) {
        // UTF-16 big-endian; a NUL unit is dropped as the zero bytes always were.
        std::size_t i = 0;
        for (; i + 1 < bytes.size(); i += 2) {
            const char16_t unit = static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1]);
            if (unit != 0)
                text.append(QChar(unit));
        }
        if (i < bytes.size() && bytes[i] != 0)
            text.append(QChar(char16_t(bytes[i])));
        return text;
    }
    if (platformId == 1) {
        QByteArray roman;
        for (std::uint8_t b : bytes)
            if (b != 0)
                roman.append(static_cast<char>(b));
        const bool ascii = std::all_of(roman.cbegin(), roman.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        return ascii ? QString::fromLatin1(roman) : CodePage::decode("MACINTOSH", roman);
    }
    for (std::uint8_t b : bytes)
        if (b != 0)
            text.append(QChar(char16_t(b)));
    return text;
}
