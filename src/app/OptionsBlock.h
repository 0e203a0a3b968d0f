// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

// The stored options: one 40-byte little-endian block, no header or version.
struct OptionsBlock {
    static constexpr int kSize = 40;

    bool wrapText = true;          // offset 0
    bool showCharPreview = true;   // 1
    bool showStartupTips = true;   // 2; byte 3 is padding
    std::int32_t textColor = 0x000000;         // 4, red in the low byte
    std::int32_t backgroundColor = 0xFFFFFF;   // 8
    std::int32_t cellWidth = 20;               // 12
    std::int32_t cellHeight = 30;              // 16
    std::int32_t mapFontSize = 10;             // 20
    std::int32_t sampleFontSize = 12;          // 24
    std::int32_t windowWidth = 0;              // 28
    std::int32_t windowHeight = 0;             // 32
    std::int32_t activeView = 0;               // 36

    QByteArray encode() const;
    // Fills the fields the bytes reach; the others keep their values.
    void decode(const QByteArray &bytes);

    // The stored height: at least 200 plus the symbol panel's four parts.
    static std::int32_t storedHeight(int windowHeight, int symbolPanelParts) { return std::max(windowHeight, 200 + symbolPanelParts); }
};

// A stored window size made to fit the available screen area (nothing larger than it, however
// large the stored numbers); without a known screen, a size no screen exceeds.
QSize fitWindowSize(std::int32_t width, std::int32_t height, const QSize &available);

// The sample text as stored: every line followed by "~".
QString encodePreviewText(const QStringList &lines);
// Split at every "~"; a non-empty remainder after the last one is a last line.
QStringList decodePreviewText(const QString &stored);
