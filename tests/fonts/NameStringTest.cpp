// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"
#include "NameTableReader.h"
#include "QtPrinters.h"
#include "SfntBuilder.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

// The naming table of a built file (its one table) on its own.
std::vector<std::uint8_t> nameTableOf(const std::vector<std::uint8_t> &sfnt)
{
    const std::size_t at = std::size_t(sfnt[12 + 8]) << 24 | std::size_t(sfnt[12 + 9]) << 16 | std::size_t(sfnt[12 + 10]) << 8 | sfnt[12 + 11];
    return std::vector<std::uint8_t>(sfnt.begin() + static_cast<std::ptrdiff_t>(at), sfnt.end());
}

}

TEST(NameString, DecodesEachPlatformAndDropsNulCharacters)
{
    const std::uint8_t utf16[] = {0x00, 'A', 0x00, 0x00, 0x04, 0x16, 'x'};
    EXPECT_EQ(decodeNameString(3, utf16), QStringLiteral("A\u0416x"));
    EXPECT_EQ(decodeNameString(0, utf16), QStringLiteral("A\u0416x"));
    const std::uint8_t roman[] = {'C', 'a', 'f', 0x8E, 0x00, ' ', 0x84, 0x9C};
    EXPECT_EQ(decodeNameString(1, roman), QStringLiteral("Caf\u00E9 \u00D1\u00FA"));
    const std::uint8_t other[] = {'a', 0x00, 0xE9};
    EXPECT_EQ(decodeNameString(2, other), QStringLiteral("a\u00E9"));
}

// A face named only by Macintosh Roman records gets one name, whether the naming-table reader
// (the report, the status bar) or the font catalogue (the installed-fonts list) reads it.
TEST(NameString, TheReaderAndTheCatalogueDecodeMacRomanAlike)
{
    const std::vector<std::uint8_t> mac = {'C', 'a', 'f', 0x8E, ' ', 0x84, 'a', 'n', 'd', 0x9C};
    const auto table = nameTableOf(SfntBuilder{}.name(1, 1, mac).name(1, 2, SfntBuilder::latin1("Regular")).name(1, 4, mac).build());
    const auto font = SfntBuilder::withNameTable(bytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))), table);
    const QString expected = QStringLiteral("Caf\u00E9 \u00D1and\u00FA");

    const NameReadResult read = readNameTable(font);
    ASSERT_EQ(read.status, NameReadStatus::Ok);
    EXPECT_EQ(read.names[1], expected);
    EXPECT_EQ(read.names[4], expected);

    QByteArray content(reinterpret_cast<const char *>(font.data()), static_cast<qsizetype>(font.size()));
    const std::vector<FontFacts> faces = FontCatalogue::readFontData(content);
    ASSERT_EQ(faces.size(), 1u);
    ASSERT_TRUE(faces[0].valid);
    EXPECT_EQ(faces[0].family, expected);
    EXPECT_EQ(faces[0].fullName, expected);
    EXPECT_EQ(faces[0].style, QStringLiteral("Regular"));
}
