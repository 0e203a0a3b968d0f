// SPDX-License-Identifier: MIT
#include "UnicodeMapData.h"

#include "QtPrinters.h"
#include "SfntBuilder.h"
#include "SpecialFiles.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <map>

namespace {

// What fontTools reads from each font's character map, written when the tests were built.
std::map<QString, std::vector<char32_t>> fontToolsCoverage()
{
    std::map<QString, std::vector<char32_t>> coverage;
    QFile file(QStringLiteral(GLYVANTA_CMAP_FIXTURE));
    if (!file.open(QIODevice::ReadOnly))
        return coverage;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(QLatin1Char('\t'));
        if (parts.size() != 2)
            continue;
        std::vector<char32_t> &codes = coverage[parts[0]];
        for (const QString &code : parts[1].split(QLatin1Char(' '), Qt::SkipEmptyParts))
            codes.push_back(code.toUInt(nullptr, 16));
    }
    return coverage;
}

std::vector<std::uint8_t> bytesOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

QByteArray asBytes(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Codes as numbers, which the test's messages can print.
std::vector<unsigned> numbers(const std::vector<char32_t> &codes)
{
    return std::vector<unsigned>(codes.begin(), codes.end());
}
unsigned number(std::optional<char32_t> code)
{
    return code ? unsigned(*code) : 0xFFFFFFFFu;
}

QString dejaVuSans()
{
    return TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf"));
}

}

// Each font's coverage is what fontTools reads from its character map: a TrueType font with
// characters beyond the BMP, a CFF font, a symbol-encoded font.
TEST(UnicodeCoverage, IsTheCharacterMapAsFontToolsReadsIt)
{
    const auto expected = fontToolsCoverage();
    const QString fonts[] = {dejaVuSans(), QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"),
                             TestEnvironment::wine(QStringLiteral("marlett.ttf"))};
    ASSERT_EQ(expected.size(), std::size(fonts));
    for (const QString &font : fonts) {
        SCOPED_TRACE(font.toStdString());
        ASSERT_EQ(expected.count(font), 1u);
        const std::vector<char32_t> coverage = UnicodeMapData::readCoverage(font);
        ASSERT_FALSE(coverage.empty());
        EXPECT_EQ(numbers(coverage), numbers(expected.at(font)));
    }
    const std::vector<char32_t> dejaVu = UnicodeMapData::readCoverage(dejaVuSans());
    EXPECT_GT(std::count_if(dejaVu.begin(), dejaVu.end(), [](char32_t c) { return c > 0xFFFF; }), 500);
    // The symbol font's characters are where Windows addresses them.
    for (const char32_t code : UnicodeMapData::readCoverage(TestEnvironment::wine(QStringLiteral("marlett.ttf"))))
        EXPECT_TRUE(code >= 0xF020 && code <= 0xF0FF) << std::hex << unsigned(code);
}

// A face that maps all of the CJK ideographs of the BMP and of plane 2 (built from DejaVu Sans
// with another character map) covers 63,712 code points, blocks and all.
TEST(UnicodeCoverage, ReadsALargeMapOverPlanes)
{
    std::vector<SfntBuilder::CmapGroup> groups = SfntBuilder::groupsCovering(0x4E00, 0x9FFF, 6000);
    for (const auto &g : SfntBuilder::groupsCovering(0x20000, 0x2A6DF, 6000))
        groups.push_back(g);
    const QByteArray font = asBytes(SfntBuilder::withTable(bytesOf(dejaVuSans()), "cmap", SfntBuilder::cmapFormat12(groups)));
    UnicodeMapData data;
    data.setCoverage(UnicodeMapData::coverageOfData(font));
    ASSERT_EQ(data.coverage().size(), 20992u + 42720u);
    EXPECT_EQ(unsigned(data.coverage().front()), 0x4E00u);
    EXPECT_EQ(unsigned(data.coverage().back()), 0x2A6DFu);
    ASSERT_EQ(data.blocks().size(), 2u);
    EXPECT_EQ(data.blocks()[0].name, QStringLiteral("CJK Unified Ideographs"));
    EXPECT_EQ(data.blocks()[0].count, 20992);
    EXPECT_EQ(data.blocks()[1].name, QStringLiteral("CJK Unified Ideographs Extension B"));
    EXPECT_EQ(data.blocks()[1].first, 20992);
    EXPECT_EQ(numbers(data.searchCovered(QStringLiteral("U+2000B"))), std::vector<unsigned>{0x2000B});
}

// Blocks are runs of the coverage, in order, each named by ICU and counted.
TEST(UnicodeCoverage, GroupsByBlock)
{
    UnicodeMapData data;
    data.setCoverage(UnicodeMapData::readCoverage(dejaVuSans()));
    ASSERT_GT(data.blocks().size(), 50u);
    EXPECT_EQ(data.blocks()[0].name, QStringLiteral("Basic Latin"));
    EXPECT_EQ(data.blocks()[0].count, 95);
    int total = 0;
    for (const UnicodeBlockGroup &group : data.blocks()) {
        EXPECT_EQ(group.first, total) << group.name.toStdString();
        total += group.count;
        for (int i = group.first; i < group.first + group.count; ++i)
            ASSERT_EQ(UnicodeMapData::blockName(data.coverage()[static_cast<size_t>(i)]), group.name);
    }
    EXPECT_EQ(total, static_cast<int>(data.coverage().size()));
}

// A file that is no font, a missing file and a FIFO give no coverage, and the refused ones say why.
TEST(UnicodeCoverage, RefusesWhatIsNoFont)
{
    EXPECT_TRUE(UnicodeMapData::coverageOfData(QByteArray(4096, 'x')).empty());
    EXPECT_TRUE(UnicodeMapData::coverageOfData(QByteArray()).empty());
    EXPECT_TRUE(UnicodeMapData::coverageOfData(asBytes(bytesOf(dejaVuSans())), 5).empty());
    FileRefusal why = FileRefusal::None;
    EXPECT_TRUE(UnicodeMapData::readCoverage(QStringLiteral("/nonexistent/font.ttf"), 0, &why).empty());
    EXPECT_NE(why, FileRefusal::None);
    const QString fifo = TestEnvironment::instance().makeFolder(QStringLiteral("unicode-fifo")) + QStringLiteral("font.ttf");
    ASSERT_TRUE(makeFifo(fifo));
    why = FileRefusal::None;
    EXPECT_TRUE(UnicodeMapData::readCoverage(fifo, 0, &why).empty());
    EXPECT_EQ(why, FileRefusal::NotRegular);
}

// What the map tells of a character: name, code, bytes, block and category, all from ICU.
TEST(UnicodeCharacter, IsDescribed)
{
    struct Row {
        char32_t code;
        const char *name, *codeText, *utf8, *utf16, *block, *category;
    };
    const Row rows[] = {
        {0x03B1, "GREEK SMALL LETTER ALPHA", "U+03B1", "CE B1", "03B1", "Greek And Coptic", "Lowercase Letter (Ll)"},
        {0x0041, "LATIN CAPITAL LETTER A", "U+0041", "41", "0041", "Basic Latin", "Uppercase Letter (Lu)"},
        {0x1F600, "GRINNING FACE", "U+1F600", "F0 9F 98 80", "D83D DE00", "Emoticons", "Other Symbol (So)"},
        {0x10300, "OLD ITALIC LETTER A", "U+10300", "F0 90 8C 80", "D800 DF00", "Old Italic", "Other Letter (Lo)"},
        {0x000A, "<control-000A>", "U+000A", "0A", "000A", "Basic Latin", "Control (Cc)"},
        {0xF061, "<private use area-F061>", "U+F061", "EF 81 A1", "F061", "Private Use Area", "Private Use (Co)"},
        {0x4E00, "CJK UNIFIED IDEOGRAPH-4E00", "U+4E00", "E4 B8 80", "4E00", "CJK Unified Ideographs", "Other Letter (Lo)"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.codeText);
        const UnicodeCharacterInfo info = UnicodeMapData::describe(row.code);
        EXPECT_EQ(info.text, QString::fromUcs4(&row.code, 1));
        EXPECT_EQ(info.name, QLatin1String(row.name));
        EXPECT_EQ(info.codeText, QLatin1String(row.codeText));
        EXPECT_EQ(info.utf8, QLatin1String(row.utf8));
        EXPECT_EQ(info.utf16, QLatin1String(row.utf16));
        EXPECT_EQ(info.block, QLatin1String(row.block));
        EXPECT_EQ(info.category, QLatin1String(row.category));
    }
}

// Codes as a user writes them.
TEST(UnicodeSearch, ReadsCodes)
{
    EXPECT_EQ(number(UnicodeMapData::parseCode(u"U+03B1")), 0x3B1u);
    EXPECT_EQ(number(UnicodeMapData::parseCode(u"u+3b1")), 0x3B1u);
    EXPECT_EQ(number(UnicodeMapData::parseCode(u" 3b1 ")), 0x3B1u);
    EXPECT_EQ(number(UnicodeMapData::parseCode(u"0x1F600")), 0x1F600u);
    EXPECT_EQ(number(UnicodeMapData::parseCode(u"10FFFF")), 0x10FFFFu);
    for (const char16_t *bad : {u"", u"U+", u"110000", u"U+D800", u"xyz", u"1234567", u"-41", u"U+ 41"})
        EXPECT_EQ(number(UnicodeMapData::parseCode(bad)), 0xFFFFFFFFu) << QString::fromUtf16(bad).toStdString();
}

// Every name found again by searching for it, in upper or lower case; words of a name by their
// starts; codes and the characters themselves.
TEST(UnicodeSearch, FindsByNameCodeAndCharacter)
{
    for (const char32_t code : {char32_t(0x03B1), char32_t(0x03A9), char32_t(0x20AC), char32_t(0x1F600), char32_t(0x10300), char32_t(0x1D400)}) {
        const QString name = UnicodeMapData::characterName(code);
        SCOPED_TRACE(name.toStdString());
        for (const QString &query : {name, name.toLower()}) {
            const std::vector<char32_t> found = UnicodeMapData::search(query);
            EXPECT_TRUE(std::find(found.begin(), found.end(), code) != found.end());
        }
    }
    const std::vector<char32_t> alpha = UnicodeMapData::search(u"greek small alpha");
    ASSERT_FALSE(alpha.empty());
    EXPECT_EQ(unsigned(alpha.front()), 0x3B1u);
    // The plain letter first, then names with more words.
    const std::vector<char32_t> expectedAlpha = {0x3B1, 0x3AC, 0x1F00, 0x1F01, 0x1F70};
    ASSERT_GE(alpha.size(), expectedAlpha.size());
    EXPECT_EQ(numbers(std::vector<char32_t>(alpha.begin(), alpha.begin() + 5)), numbers(expectedAlpha));
    for (const char32_t code : alpha) {
        const QString name = UnicodeMapData::characterName(code);
        EXPECT_TRUE(name.contains(QLatin1String("GREEK")) && name.contains(QLatin1String("SMALL")) && name.contains(QLatin1String("ALPHA")))
            << name.toStdString();
    }
    const std::vector<char32_t> omega = UnicodeMapData::search(u"omega");
    ASSERT_FALSE(omega.empty());
    EXPECT_EQ(unsigned(omega.front()), 0x3A9u);
    EXPECT_EQ(unsigned(omega[1]), 0x3C9u);
    // Word starts only: "mega" is no word of "OMEGA".
    const std::vector<char32_t> mega = UnicodeMapData::search(u"mega");
    EXPECT_TRUE(std::find(mega.begin(), mega.end(), char32_t(0x3A9)) == mega.end());

    EXPECT_EQ(numbers(UnicodeMapData::search(u"U+03B1")), std::vector<unsigned>{0x3B1});
    EXPECT_EQ(numbers(UnicodeMapData::search(u"u+1f600")), std::vector<unsigned>{0x1F600});
    EXPECT_EQ(numbers(UnicodeMapData::search(QStringLiteral("Ω"))), std::vector<unsigned>{0x3A9});
    EXPECT_EQ(numbers(UnicodeMapData::search(QString::fromUcs4(U"\U0001F600", 1))), std::vector<unsigned>{0x1F600});
    const std::vector<char32_t> hex = UnicodeMapData::search(u"3b1");
    ASSERT_FALSE(hex.empty());
    EXPECT_EQ(unsigned(hex.front()), 0x3B1u);
    // A letter is itself first, then the code it writes, then the names.
    const std::vector<char32_t> a = UnicodeMapData::search(u"a");
    ASSERT_GT(a.size(), 2u);
    EXPECT_EQ(unsigned(a[0]), 0x61u);
    EXPECT_EQ(unsigned(a[1]), 0x0Au);
    EXPECT_EQ(std::count(a.begin(), a.end(), char32_t(0x61)), 1);
    EXPECT_TRUE(UnicodeMapData::search(u"zzzqqq").empty());
    EXPECT_TRUE(UnicodeMapData::search(u"   ").empty());
    EXPECT_TRUE(UnicodeMapData::search(u"U+110000").empty());
    EXPECT_TRUE(UnicodeMapData::search(u"ωμέγα").empty());
}

// A face's search keeps to what the face covers.
TEST(UnicodeSearch, KeepsToTheFace)
{
    UnicodeMapData data;
    data.setCoverage(UnicodeMapData::readCoverage(dejaVuSans()));
    const std::vector<char32_t> omega = data.searchCovered(u"omega");
    ASSERT_FALSE(omega.empty());
    EXPECT_EQ(unsigned(omega.front()), 0x3A9u);
    for (const char32_t code : omega)
        EXPECT_TRUE(data.covers(code));
    EXPECT_LT(omega.size(), UnicodeMapData::search(u"omega").size());
    EXPECT_TRUE(data.searchCovered(u"U+4E00").empty());
    EXPECT_TRUE(data.searchCovered(u"grinning face").empty() || data.covers(0x1F600));
}
