// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "CharsetTable.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(CharsetTable, NamesAndCodesGoBothWays)
{
    const std::pair<int, const char *> table[] = {
        {0, "ANSI"}, {1, "Default"}, {2, "Symbol"}, {77, "MAC OS"}, {128, "Japan"}, {129, "Korea"}, {130, "Johab"},
        {134, "Chiniese (simple)"}, {136, "Chiniese (traditional)"}, {161, "Greek"}, {162, "Turkey"}, {177, "Hebrew"},
        {178, "Arabic"}, {186, "Baltic"}, {204, "Cyrillic"}, {222, "Thai"}, {238, "East Europe"}, {255, "MSDOS"},
    };
    for (const auto &[code, name] : table) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CharsetName(code), QString::fromLatin1(name));
        EXPECT_EQ(CharsetCode(QString::fromLatin1(name)), code);
    }
    EXPECT_EQ(CharsetName(163), QStringLiteral("Unknown (163)"));
    EXPECT_EQ(CharsetCode(QStringLiteral("Unknown (163)")), 163);
    EXPECT_EQ(CharsetCode(CharsetName(7)), 7);
    EXPECT_THROW(CharsetCode(QStringLiteral("Latin")), AppError);
}

TEST(CharsetTable, NamesFromListKeepOrderAndTheLastCode)
{
    QStringList names{QStringLiteral("stale")};
    EXPECT_FALSE(CharsetNamesFromList(nullptr, QStringLiteral("0"), QLatin1Char(';')));
    EXPECT_FALSE(CharsetNamesFromList(&names, QString(), QLatin1Char(';')));
    EXPECT_EQ(names, QStringList{QStringLiteral("stale")});
    ASSERT_TRUE(CharsetNamesFromList(&names, QStringLiteral("0;238;204;161;162;186;163;2;1;255"), QLatin1Char(';')));
    EXPECT_EQ(names, (QStringList{QStringLiteral("ANSI"), QStringLiteral("East Europe"), QStringLiteral("Cyrillic"), QStringLiteral("Greek"),
                                  QStringLiteral("Turkey"), QStringLiteral("Baltic"), QStringLiteral("Unknown (163)"), QStringLiteral("Symbol"),
                                  QStringLiteral("Default"), QStringLiteral("MSDOS")}));
    ASSERT_TRUE(CharsetNamesFromList(&names, QStringLiteral("204"), QLatin1Char(';')));
    EXPECT_EQ(names, QStringList{QStringLiteral("Cyrillic")});
}
