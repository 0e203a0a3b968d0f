// SPDX-License-Identifier: MIT
#pragma once

#include "NativeFile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// One Unicode block as the map groups a face's characters: the block's name and where its
// characters lie in the face's coverage.
struct UnicodeBlockGroup {
    int block = 0;          // ICU's block code
    QString name;           // "Greek and Coptic"
    int first = 0;          // index of the block's first character in the coverage
    int count = 0;
};

// What the map tells about one character.
struct UnicodeCharacterInfo {
    char32_t code = 0;
    QString text;           // the character itself (a surrogate pair outside the BMP)
    QString name;           // "GREEK SMALL LETTER ALPHA", or "<control-000A>" for unnamed ones
    QString codeText;       // "U+03B1"
    QString utf8;           // "CE B1"
    QString utf16;          // "03B1", or "D83D DE00"
    QString block;          // "Greek and Coptic"
    QString category;       // "Lowercase Letter (Ll)"
};

// The characters a face covers, read from its character map, grouped by Unicode block; names,
// blocks and categories from ICU. No widget here.
class UnicodeMapData {
public:
    // The code points a face maps to a glyph, ascending: its Unicode character map (all planes),
    // or, for a symbol-encoded face, its symbol map (codes U+F020 to U+F0FF, as Windows addresses
    // them). Empty when the file is refused or is no font; why tells a refused file.
    static std::vector<char32_t> readCoverage(const QString &file, int faceIndex = 0, FileRefusal *why = nullptr);
    static std::vector<char32_t> coverageOfData(const QByteArray &content, int faceIndex = 0);

    void setCoverage(std::vector<char32_t> coverage);
    const std::vector<char32_t> &coverage() const { return m_coverage; }
    const std::vector<UnicodeBlockGroup> &blocks() const { return m_blocks; }
    bool covers(char32_t code) const;

    static QString blockName(char32_t code);
    static QString characterName(char32_t code);
    static QString categoryName(char32_t code);
    static UnicodeCharacterInfo describe(char32_t code);

    // A code written as "U+03B1", "u+3b1", "0x3B1" or "3b1"; nothing when the text is not one.
    static std::optional<char32_t> parseCode(QStringView text);
    // Every character of Unicode that the query finds, in this order: the character itself when
    // the query is one character; the code the query writes; the characters whose names have a
    // word starting with each word of the query ("greek small alpha"), best first: names that
    // hold the query's words whole, then names of fewer words, then in code order. A code
    // written with "U+" or "0x" is searched as a code alone.
    static std::vector<char32_t> search(QStringView query);
    // As search, kept to the characters this face covers.
    std::vector<char32_t> searchCovered(QStringView query) const;

private:
    std::vector<char32_t> m_coverage;
    std::vector<UnicodeBlockGroup> m_blocks;
};
