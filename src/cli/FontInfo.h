// SPDX-License-Identifier: MIT
#pragma once

#include "NativeFile.h"

#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

// What `glyvanta info` tells about a font file: its format, and per face its naming-table
// records, metrics, charsets, characters and their coverage of the Unicode blocks. The charsets,
// weight, pitch, family and sizes are the facts the window shows (the font catalogue's); the
// rest comes from FreeType and ICU.

struct NameRecord {
    int platformId = 0;
    int encodingId = 0;
    int languageId = 0;
    int nameId = 0;
    QString value;
};

struct BlockCoverage {
    QString name;       // ICU's long name, such as "Basic Latin"
    char32_t first = 0;
    char32_t last = 0;
    int covered = 0;    // characters of the block that the face maps
};

struct FaceInfo {
    int index = 0;
    QString family;
    QString style;
    QString fullName;
    std::vector<NameRecord> names;   // every record, in file order
    // Metrics in font units, and the catalogue's facts.
    int unitsPerEm = 0;
    int ascender = 0;
    int descender = 0;
    int lineHeight = 0;
    int weight = 400;
    bool italic = false;
    int pitchAndFamily = 0;
    int lastChar = 255;
    int averageWidth = 0;   // at 16 pixels per em (raster: the header's average width)
    int pixelHeight = 0;    // at 16 pixels per em (raster: the pixel height)
    std::vector<int> charsets;
    QString characterMap;   // "unicode", "symbol" or "other": how the codes below are to be read
    int characterCount = 0;
    std::vector<BlockCoverage> blocks;
};

struct FontFileInfo {
    QString file;
    QString format;   // "TrueType", "OpenType (CFF)", "TrueType collection", "WOFF", "WOFF2", "Windows raster", or FreeType's name
    std::vector<FaceInfo> faces;
};

// Reads a font file; nothing, with a message naming no file, when it is not a font or cannot be
// read.
std::optional<FontFileInfo> readFontFileInfo(const QString &path, QString *error);

QJsonObject fontFileInfoJson(const FontFileInfo &info);
// The same as plain lines for a reader.
QString fontFileInfoText(const FontFileInfo &info);
