// SPDX-License-Identifier: MIT
#include "FontInfo.h"

#include "CharsetTable.h"
#include "FontCatalogue.h"
#include "InstalledFonts.h"
#include "NameString.h"

#include <QJsonArray>
#include <QStringList>

#include <unicode/uchar.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_FONT_FORMATS_H

#include <algorithm>
#include <map>
#include <memory>

namespace {

QString formatOf(const QByteArray &content, FT_Face face)
{
    const QByteArray tag = content.left(4);
    if (tag == QByteArray("\0\1\0\0", 4) || tag == "true")
        return QStringLiteral("TrueType");
    if (tag == "OTTO")
        return QStringLiteral("OpenType (CFF)");
    if (tag == "ttcf")
        return QStringLiteral("TrueType collection");
    if (tag == "wOFF")
        return QStringLiteral("WOFF");
    if (tag == "wOF2")
        return QStringLiteral("WOFF2");
    if (content.startsWith("MZ"))
        return QStringLiteral("Windows raster");
    const char *name = face ? FT_Get_Font_Format(face) : nullptr;
    return name ? QString::fromLatin1(name) : QStringLiteral("unknown");
}

// The first and last code point of every Unicode block, found once by walking the code space.
const std::map<int, std::pair<char32_t, char32_t>> &blockRanges()
{
    static const std::map<int, std::pair<char32_t, char32_t>> ranges = [] {
        std::map<int, std::pair<char32_t, char32_t>> found;
        for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
            const int code = ublock_getCode(c);
            if (code <= 0)
                continue;
            auto [it, added] = found.try_emplace(code, char32_t(c), char32_t(c));
            if (!added)
                it->second.second = char32_t(c);
        }
        return found;
    }();
    return ranges;
}

QString blockName(int code)
{
    const char *name = u_getPropertyValueName(UCHAR_BLOCK, code, U_LONG_PROPERTY_NAME);
    return name ? QString::fromLatin1(name).replace(QLatin1Char('_'), QLatin1Char(' ')) : QStringLiteral("Block %1").arg(code);
}

void readNames(FT_Face face, FaceInfo &info)
{
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0)
            continue;
        info.names.push_back({name.platform_id, name.encoding_id, name.language_id, name.name_id,
                              decodeNameString(name.platform_id, std::span<const std::uint8_t>(name.string, name.string_len))});
    }
}

void readCharacters(FT_Face face, FaceInfo &info)
{
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0)
        info.characterMap = QStringLiteral("unicode");
    else if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
        info.characterMap = QStringLiteral("symbol");
    else
        info.characterMap = QStringLiteral("other");
    std::map<int, int> perBlock;
    FT_UInt glyph = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0; c = FT_Get_Next_Char(face, c, &glyph)) {
        ++info.characterCount;
        if (info.characterMap != QLatin1String("other") && c <= 0x10FFFF) {
            const int code = ublock_getCode(UChar32(c));
            if (code > 0)
                ++perBlock[code];
        }
    }
    const auto &ranges = blockRanges();
    for (const auto &[code, covered] : perBlock) {
        const auto range = ranges.find(code);
        if (range != ranges.end())
            info.blocks.push_back({blockName(code), range->second.first, range->second.second, covered});
    }
    std::sort(info.blocks.begin(), info.blocks.end(), [](const BlockCoverage &a, const BlockCoverage &b) { return a.first < b.first; });
}

struct FreeTypeLibrary {
    FT_Library library = nullptr;
    FreeTypeLibrary() { FT_Init_FreeType(&library); }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
};

QString codePoint(char32_t c)
{
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

}

std::optional<FontFileInfo> readFontFileInfo(const QString &path, QString *error)
{
    FileRefusal why = FileRefusal::None;
    const std::optional<QByteArray> content = readRegularFile(path, FontCatalogue::kFontFileLimit, &why);
    if (!content) {
        switch (why) {
        case FileRefusal::NotRegular: *error = QStringLiteral("not a regular file"); break;
        case FileRefusal::TooLarge: *error = QStringLiteral("the file is larger than %1 MB").arg(FontCatalogue::kFontFileLimit / (1024 * 1024)); break;
        case FileRefusal::Unreadable: *error = QStringLiteral("the file cannot be read"); break;
        default: *error = QStringLiteral("no such file"); break;
        }
        return std::nullopt;
    }
    // The catalogue's own reading, which also decides how many faces are worth reading.
    QByteArray factsContent = *content;
    const std::vector<FontFacts> facts = FontCatalogue::readFontData(factsContent);
    FreeTypeLibrary freeType;
    if (facts.empty() || !freeType.library) {
        *error = QStringLiteral("not a font file");
        return std::nullopt;
    }
    FontFileInfo info;
    info.file = path;
    const auto *bytes = reinterpret_cast<const FT_Byte *>(content->constData());
    for (int index = 0; index < int(facts.size()); ++index) {
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(freeType.library, bytes, FT_Long(content->size()), index, &face) != 0)
            break;
        std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> owner(face, &FT_Done_Face);
        if (index == 0)
            info.format = formatOf(*content, face);
        const FontFacts &fact = facts[size_t(index)];
        FaceInfo faceInfo;
        faceInfo.index = index;
        faceInfo.family = fact.family;
        faceInfo.style = fact.style;
        faceInfo.fullName = fact.fullName;
        readNames(face, faceInfo);
        faceInfo.unitsPerEm = face->units_per_EM;
        faceInfo.ascender = face->ascender;
        faceInfo.descender = face->descender;
        faceInfo.lineHeight = face->height;
        faceInfo.weight = fact.weight;
        faceInfo.italic = fact.italic;
        faceInfo.pitchAndFamily = fact.pitchAndFamily;
        faceInfo.lastChar = fact.lastChar;
        faceInfo.averageWidth = fact.width;
        faceInfo.pixelHeight = fact.height;
        faceInfo.charsets = fact.charsets;
        readCharacters(face, faceInfo);
        info.faces.push_back(std::move(faceInfo));
    }
    if (info.faces.empty()) {
        *error = QStringLiteral("not a font file");
        return std::nullopt;
    }
    return info;
}

QJsonObject fontFileInfoJson(const FontFileInfo &info)
{
    QJsonArray faces;
    for (const FaceInfo &face : info.faces) {
        QJsonArray names;
        for (const NameRecord &name : face.names)
            names.append(QJsonObject{{QStringLiteral("platformId"), name.platformId},
                                     {QStringLiteral("encodingId"), name.encodingId},
                                     {QStringLiteral("languageId"), name.languageId},
                                     {QStringLiteral("nameId"), name.nameId},
                                     {QStringLiteral("value"), name.value}});
        QJsonArray charsets;
        for (int code : face.charsets)
            charsets.append(QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("name"), CharsetName(code)}});
        QJsonArray blocks;
        for (const BlockCoverage &block : face.blocks)
            blocks.append(QJsonObject{{QStringLiteral("name"), block.name},
                                      {QStringLiteral("first"), codePoint(block.first)},
                                      {QStringLiteral("last"), codePoint(block.last)},
                                      {QStringLiteral("size"), int(block.last - block.first + 1)},
                                      {QStringLiteral("covered"), block.covered}});
        const QJsonObject metrics{{QStringLiteral("unitsPerEm"), face.unitsPerEm},
                                  {QStringLiteral("ascender"), face.ascender},
                                  {QStringLiteral("descender"), face.descender},
                                  {QStringLiteral("lineHeight"), face.lineHeight},
                                  {QStringLiteral("weight"), face.weight},
                                  {QStringLiteral("italic"), face.italic},
                                  {QStringLiteral("pitch"), pitchText(face.pitchAndFamily)},
                                  {QStringLiteral("family"), familyText(face.pitchAndFamily)},
                                  {QStringLiteral("lastChar"), face.lastChar},
                                  {QStringLiteral("averageWidth"), face.averageWidth},
                                  {QStringLiteral("pixelHeight"), face.pixelHeight}};
        faces.append(QJsonObject{{QStringLiteral("index"), face.index},
                                 {QStringLiteral("family"), face.family},
                                 {QStringLiteral("style"), face.style},
                                 {QStringLiteral("fullName"), face.fullName},
                                 {QStringLiteral("names"), names},
                                 {QStringLiteral("metrics"), metrics},
                                 {QStringLiteral("charsets"), charsets},
                                 {QStringLiteral("characterMap"), face.characterMap},
                                 {QStringLiteral("characterCount"), face.characterCount},
                                 {QStringLiteral("blocks"), blocks}});
    }
    return QJsonObject{{QStringLiteral("file"), info.file}, {QStringLiteral("format"), info.format}, {QStringLiteral("faces"), faces}};
}

QString fontFileInfoText(const FontFileInfo &info)
{
    QString text = QStringLiteral("File: %1\nFormat: %2\nFaces: %3\n").arg(info.file, info.format).arg(info.faces.size());
    for (const FaceInfo &face : info.faces) {
        text += QStringLiteral("\nFace %1: %2\n").arg(face.index).arg(face.fullName);
        text += QStringLiteral("  Family: %1\n  Style: %2\n").arg(face.family, face.style);
        text += QStringLiteral("  Units per em: %1, ascender %2, descender %3, line height %4\n")
                    .arg(face.unitsPerEm).arg(face.ascender).arg(face.descender).arg(face.lineHeight);
        text += QStringLiteral("  Weight: %1%2, pitch %3, family %4, last character %5, width %6, height %7\n")
                    .arg(face.weight).arg(face.italic ? QStringLiteral(", italic") : QString())
                    .arg(pitchText(face.pitchAndFamily), familyText(face.pitchAndFamily))
                    .arg(face.lastChar).arg(face.averageWidth).arg(face.pixelHeight);
        QStringList charsets;
        for (int code : face.charsets)
            charsets << QStringLiteral("%1 (%2)").arg(CharsetName(code)).arg(code);
        text += QStringLiteral("  Charsets: %1\n").arg(charsets.join(QStringLiteral(", ")));
        text += QStringLiteral("  Characters: %1 (%2 map)\n").arg(face.characterCount).arg(face.characterMap);
        text += QStringLiteral("  Names:\n");
        for (const NameRecord &name : face.names)
            text += QStringLiteral("    %1 (platform %2, encoding %3, language %4): %5\n")
                        .arg(name.nameId).arg(name.platformId).arg(name.encodingId).arg(name.languageId).arg(name.value);
        text += QStringLiteral("  Blocks:\n");
        for (const BlockCoverage &block : face.blocks)
            text += QStringLiteral("    %1..%2 %3: %4 of %5\n")
                        .arg(codePoint(block.first), codePoint(block.last), block.name)
                        .arg(block.covered).arg(block.last - block.first + 1);
    }
    return text;
}
