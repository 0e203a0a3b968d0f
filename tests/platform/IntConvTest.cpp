// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "IntConv.h"

#include <gtest/gtest.h>

TEST(IntConv, AcceptsDecimalHexAndSignsAsTheProgramDoes)
{
    const std::pair<const char *, int> good[] = {
        {"0", 0}, {"65", 65}, {"  42", 42}, {"-1", -1}, {"+7", 7}, {"$FF", 255}, {"x4e", 78}, {"0x41", 65},
        {"0X10", 16}, {"-$10", -16}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"$FFFFFFFF", -1},
    };
    for (const auto &[text, value] : good) {
        SCOPED_TRACE(text);
        EXPECT_EQ(tryStrToInt(QString::fromLatin1(text)), value);
    }
    for (const char *bad : {"", " ", "abc", "12a", "65 ", "0x", "$", "--1", "2147483648", "1e3", "\xd9\xa3"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(tryStrToInt(QString::fromUtf8(bad)).has_value());
    }
}

TEST(IntConv, FailureCarriesTheExactMessage)
{
    try {
        StrToInt(QStringLiteral("abc"));
        FAIL() << "no error";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}
