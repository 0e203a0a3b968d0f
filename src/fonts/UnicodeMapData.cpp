// SPDX-License-Identifier: MIT
#include "UnicodeMapData.h"

#include "FontCatalogue.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <unicode/uchar.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace {

constexpr char32_t kLastCode = 0x10FFFF;

struct FreeTypeLibrary {
    FT_Library handle = nullptr;
    FreeTypeLibrary() { FT_Init_FreeType(&handle); }
    ~FreeTypeLibrary() { FT_Done_FreeType(handle); }
};

// A symbol map may hold the bare bytes; Windows addresses a symbol face's bytes at U+F000 on.
char32_t symbolCode(FT_ULong code)
{
    return code < 0x100 ? static_cast<char32_t>(0xF000 + code) : static_cast<char32_t>(code);
}

std::vector<char32_t> mappedCodes(FT_Face face)
{
    std::vector<char32_t> codes;
    bool symbol = false;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) != 0)
            return codes;
        symbol = true;
    }
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0; code = FT_Get_Next_Char(face, code, &glyph)) {
        const char32_t c = symbol ? symbolCode(code) : static_cast<char32_t>(code);
        // Surrogates and codes past Unicode are no characters, whatever a hostile map says.
        if (c <= kLastCode && (c < 0xD800 || c > 0xDFFF))
            codes.push_back(c);
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

QString propertyName(UProperty property, int value)
{
    const char *name = u_getPropertyValueName(property, value, U_LONG_PROPERTY_NAME);
    return name ? QString::fromLatin1(name).replace(QLatin1Char('_'), QLatin1Char(' ')) : QString();
}

QString hex(unsigned value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

// Every character name of Unicode, upper case, one after another, each ended by a newline, and
// the code of each; built once, on the first search.
class NameIndex {
public:
    static const NameIndex &instance()
    {
        static const NameIndex index;
        return index;
    }

    // The characters whose names have a word starting with every word given (upper case).
    std::vector<char32_t> find(const std::vector<std::string> &words) const
    {
        std::vector<char32_t> found;
        if (words.empty())
            return found;
        // The longest word has the fewest places to look at.
        const std::string &key = *std::max_element(words.begin(), words.end(), [](const auto &a, const auto &b) { return a.size() < b.size(); });
        const std::string_view all(m_names);
        std::size_t lastEntry = m_starts.size();
        std::vector<std::pair<int, char32_t>> ranked;
        for (std::size_t at = all.find(key); at != std::string_view::npos; at = all.find(key, at + 1)) {
            if (!wordStart(at))
                continue;
            const std::size_t entry = static_cast<std::size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), at) - m_starts.begin()) - 1;
            if (entry == lastEntry)
                continue;
            lastEntry = entry;
            const std::string_view name = nameOf(entry);
            if (std::all_of(words.begin(), words.end(), [&](const std::string &w) { return hasWordStarting(name, w); }))
                ranked.push_back({rank(name, words), m_codes[entry]});
        }
        std::sort(ranked.begin(), ranked.end());
        found.reserve(ranked.size());
        for (const auto &[key, code] : ranked)
            found.push_back(code);
        return found;
    }

private:
    NameIndex()
    {
        m_names.reserve(4 * 1024 * 1024);
        m_codes.reserve(160000);
        m_starts.reserve(160000);
        UErrorCode error = U_ZERO_ERROR;
        u_enumCharNames(0, kLastCode + 1, &NameIndex::add, this, U_UNICODE_CHAR_NAME, &error);
    }
    static UBool add(void *context, UChar32 code, UCharNameChoice, const char *name, int32_t length)
    {
        auto *self = static_cast<NameIndex *>(context);
        self->m_codes.push_back(static_cast<char32_t>(code));
        self->m_starts.push_back(static_cast<std::uint32_t>(self->m_names.size()));
        self->m_names.append(name, static_cast<std::size_t>(length));
        self->m_names.push_back('\n');
        return true;
    }
    bool wordStart(std::size_t at) const
    {
        return at == 0 || m_names[at - 1] == ' ' || m_names[at - 1] == '-' || m_names[at - 1] == '\n';
    }
    std::string_view nameOf(std::size_t entry) const
    {
        const std::size_t begin = m_starts[entry];
        const std::size_t end = entry + 1 < m_starts.size() ? m_starts[entry + 1] - 1 : m_names.size() - 1;
        return std::string_view(m_names).substr(begin, end - begin);
    }
    // Best first: names where every word of the query is a whole word, then names of fewer
    // words ("GREEK SMALL LETTER ALPHA" before "... ALPHA WITH TONOS").
    static int rank(std::string_view name, const std::vector<std::string> &words)
    {
        const bool whole = std::all_of(words.begin(), words.end(), [&](const std::string &w) { return hasWholeWord(name, w); });
        return (whole ? 0 : 1000) + static_cast<int>(std::count(name.begin(), name.end(), ' ') + std::count(name.begin(), name.end(), '-'));
    }
    static bool hasWholeWord(std::string_view name, const std::string &word)
    {
        for (std::size_t at = name.find(word); at != std::string_view::npos; at = name.find(word, at + 1)) {
            const std::size_t end = at + word.size();
            if ((at == 0 || name[at - 1] == ' ' || name[at - 1] == '-') && (end == name.size() || name[end] == ' ' || name[end] == '-'))
                return true;
        }
        return false;
    }
    static bool hasWordStarting(std::string_view name, const std::string &word)
    {
        for (std::size_t at = name.find(word); at != std::string_view::npos; at = name.find(word, at + 1))
            if (at == 0 || name[at - 1] == ' ' || name[at - 1] == '-')
                return true;
        return false;
    }

    std::string m_names;
    std::vector<std::uint32_t> m_starts;
    std::vector<char32_t> m_codes;
};

std::vector<std::string> queryWords(QStringView query)
{
    std::vector<std::string> words;
    for (const QStringView word : query.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        // Names are upper-case ASCII; a word of other letters names nothing.
        const QString upper = word.toString().toUpper();
        bool ascii = true;
        for (const QChar c : upper)
            ascii = ascii && c.unicode() < 0x80;
        if (!ascii)
            return {};
        words.push_back(upper.toStdString());
    }
    return words;
}

void appendOnce(std::vector<char32_t> &codes, char32_t code)
{
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
        codes.push_back(code);
}

}

std::vector<char32_t> UnicodeMapData::readCoverage(const QString &file, int faceIndex, FileRefusal *why)
{
    const std::optional<QByteArray> content = readRegularFile(file, FontCatalogue::kFontFileLimit, why);
    return content ? coverageOfData(*content, faceIndex) : std::vector<char32_t>{};
}

std::vector<char32_t> UnicodeMapData::coverageOfData(const QByteArray &content, int faceIndex)
{
    static thread_local FreeTypeLibrary library;
    FT_Face face = nullptr;
    if (!library.handle || faceIndex < 0
        || FT_New_Memory_Face(library.handle, reinterpret_cast<const FT_Byte *>(content.constData()), content.size(), faceIndex, &face) != 0)
        return {};
    std::vector<char32_t> codes = mappedCodes(face);
    FT_Done_Face(face);
    return codes;
}

void UnicodeMapData::setCoverage(std::vector<char32_t> coverage)
{
    m_coverage = std::move(coverage);
    m_blocks.clear();
    // The coverage ascends and blocks are ranges of codes, so each block is one run.
    for (int i = 0; i < static_cast<int>(m_coverage.size()); ++i) {
        const int block = ublock_getCode(static_cast<UChar32>(m_coverage[static_cast<size_t>(i)]));
        if (m_blocks.empty() || m_blocks.back().block != block)
            m_blocks.push_back({block, propertyName(UCHAR_BLOCK, block), i, 0});
        ++m_blocks.back().count;
    }
}

bool UnicodeMapData::covers(char32_t code) const
{
    return std::binary_search(m_coverage.begin(), m_coverage.end(), code);
}

QString UnicodeMapData::blockName(char32_t code)
{
    return propertyName(UCHAR_BLOCK, ublock_getCode(static_cast<UChar32>(code)));
}

QString UnicodeMapData::characterName(char32_t code)
{
    char buffer[256];
    for (const UCharNameChoice choice : {U_UNICODE_CHAR_NAME, U_EXTENDED_CHAR_NAME}) {
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length = u_charName(static_cast<UChar32>(code), choice, buffer, sizeof buffer, &error);
        if (U_SUCCESS(error) && length > 0)
            return QString::fromLatin1(buffer, std::min<int32_t>(length, sizeof buffer));
    }
    return QString();
}

QString UnicodeMapData::categoryName(char32_t code)
{
    const int category = u_charType(static_cast<UChar32>(code));
    const char *shortName = u_getPropertyValueName(UCHAR_GENERAL_CATEGORY, category, U_SHORT_PROPERTY_NAME);
    return QStringLiteral("%1 (%2)").arg(propertyName(UCHAR_GENERAL_CATEGORY, category), QString::fromLatin1(shortName ? shortName : ""));
}

UnicodeCharacterInfo UnicodeMapData::describe(char32_t code)
{
    UnicodeCharacterInfo info;
    info.code = code;
    info.text = QString::fromUcs4(&code, 1);
    info.name = characterName(code);
    info.codeText = QStringLiteral("U+") + hex(code, 4);
    QStringList bytes;
    for (const char byte : info.text.toUtf8())
        bytes << hex(static_cast<unsigned char>(byte), 2);
    info.utf8 = bytes.join(QLatin1Char(' '));
    bytes.clear();
    for (const QChar unit : info.text)
        bytes << hex(unit.unicode(), 4);
    info.utf16 = bytes.join(QLatin1Char(' '));
    info.block = blockName(code);
    info.category = categoryName(code);
    return info;
}

std::optional<char32_t> UnicodeMapData::parseCode(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1String("U+"), Qt::CaseInsensitive) || text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.mid(2);
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    for (const QChar c : text)
        if (!isxdigit(c.unicode() < 0x80 ? c.unicode() : 0))
            return std::nullopt;
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || value > kLastCode || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return static_cast<char32_t>(value);
}

std::vector<char32_t> UnicodeMapData::search(QStringView query)
{
    query = query.trimmed();
    std::vector<char32_t> found;
    if (query.isEmpty())
        return found;
    const QList<uint> characters = query.toUcs4();
    if (characters.size() == 1)
        found.push_back(characters.front());
    const bool codeOnly = query.startsWith(QLatin1String("U+"), Qt::CaseInsensitive) || query.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    if (const std::optional<char32_t> code = parseCode(query))
        appendOnce(found, *code);
    // A query of one character that is not a letter or digit is that character alone.
    const bool oneSymbol = characters.size() == 1 && !QChar::isLetterOrNumber(characters.front());
    if (codeOnly || oneSymbol)
        return found;
    const std::vector<char32_t> named = NameIndex::instance().find(queryWords(query));
    // What came first (at most two codes) is not repeated among the names.
    const std::size_t first = found.size();
    for (const char32_t code : named)
        if (std::find(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(first), code) == found.begin() + static_cast<std::ptrdiff_t>(first))
            found.push_back(code);
    return found;
}

std::vector<char32_t> UnicodeMapData::searchCovered(QStringView query) const
{
    std::vector<char32_t> found = search(query);
    found.erase(std::remove_if(found.begin(), found.end(), [this](char32_t code) { return !covers(code); }), found.end());
    return found;
}
