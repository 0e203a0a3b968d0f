// SPDX-License-Identifier: MIT
#include "OptionsBlock.h"

#include <algorithm>

namespace {

void put32(QByteArray &out, int offset, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void get32(const QByteArray &in, int offset, std::int32_t &field)
{
    if (in.size() < offset + 4)
        return;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    field = static_cast<std::int32_t>(v);
}

}

QByteArray OptionsBlock::encode() const
{
    QByteArray out(kSize, '\0');
    out[0] = wrapText ? 1 : 0;
    out[1] = showCharPreview ? 1 : 0;
    out[2] = showStartupTips ? 1 : 0;
    put32(out, 4, textColor);
    put32(out, 8, backgroundColor);
    put32(out, 12, cellWidth);
    put32(out, 16, cellHeight);
    put32(out, 20, mapFontSize);
    put32(out, 24, sampleFontSize);
    put32(out, 28, windowWidth);
    put32(out, 32, windowHeight);
    put32(out, 36, activeView);
    return out;
}

void OptionsBlock::decode(const QByteArray &bytes)
{
    if (bytes.size() > 0)
        wrapText = bytes[0] != 0;
    if (bytes.size() > 1)
        showCharPreview = bytes[1] != 0;
    if (bytes.size() > 2)
        showStartupTips = bytes[2] != 0;
    get32(bytes, 4, textColor);
    get32(bytes, 8, backgroundColor);
    get32(bytes, 12, cellWidth);
    get32(bytes, 16, cellHeight);
    get32(bytes, 20, mapFontSize);
    get32(bytes, 24, sampleFontSize);
    get32(bytes, 28, windowWidth);
    get32(bytes, 32, windowHeight);
    get32(bytes, 36, activeView);
}

QSize fitWindowSize(std::int32_t width, std::int32_t height, const QSize &available)
{
    constexpr int kLargestScreen = 16384;
    const int maxWidth = available.width() > 0 ? available.width() : kLargestScreen;
    const int maxHeight = available.height() > 0 ? available.height() : kLargestScreen;
    return QSize(std::clamp<std::int32_t>(width, 1, maxWidth), std::clamp<std::int32_t>(height, 1, maxHeight));
}

QString encodePreviewText(const QStringList &lines)
{
    QString out;
    for (const QString &line : lines)
        out += line + QLatin1Char('~');
    return out;
}

QStringList decodePreviewText(const QString &stored)
{
    QStringList lines = stored.split(QLatin1Char('~'));
    // The text after the last "~" is a line only when it is not empty.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
