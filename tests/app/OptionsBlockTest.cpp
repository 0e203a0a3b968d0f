// SPDX-License-Identifier: MIT
#include "OptionsBlock.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(OptionsBlock, EveryFieldAtItsOffset)
{
    OptionsBlock block;
    block.wrapText = false;
    block.showCharPreview = true;
    block.showStartupTips = false;
    block.textColor = 0x00332211;
    block.backgroundColor = 0x00CCBBAA;
    block.cellWidth = 21;
    block.cellHeight = 31;
    block.mapFontSize = 11;
    block.sampleFontSize = 13;
    block.windowWidth = 800;
    block.windowHeight = -2;
    block.activeView = 2;
    const QByteArray bytes = block.encode();
    ASSERT_EQ(bytes.size(), 40);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("\x00\x01\x00\x00", 4));
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("\x11\x22\x33\x00", 4));
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\xAA\xBB\xCC\x00", 4));
    EXPECT_EQ(bytes.mid(12, 4), QByteArray("\x15\x00\x00\x00", 4));
    EXPECT_EQ(bytes.mid(16, 4), QByteArray("\x1F\x00\x00\x00", 4));
    EXPECT_EQ(bytes.mid(20, 4), QByteArray("\x0B\x00\x00\x00", 4));
    EXPECT_EQ(bytes.mid(24, 4), QByteArray("\x0D\x00\x00\x00", 4));
    EXPECT_EQ(bytes.mid(28, 4), QByteArray("\x20\x03\x00\x00", 4));
    EXPECT_EQ(bytes.mid(32, 4), QByteArray("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(bytes.mid(36, 4), QByteArray("\x02\x00\x00\x00", 4));

    OptionsBlock back;
    QByteArray withPadding = bytes;
    withPadding[3] = 0x7F;   // padding carries no meaning
    back.decode(withPadding);
    EXPECT_EQ(back.encode(), bytes);

    // A short block fills only its leading fields.
    OptionsBlock partial;
    partial.decode(bytes.left(14));
    EXPECT_FALSE(partial.wrapText);
    EXPECT_EQ(partial.backgroundColor, 0x00CCBBAA);
    EXPECT_EQ(partial.cellWidth, 20);

    EXPECT_EQ(OptionsBlock::storedHeight(400, 300), 500);
    EXPECT_EQ(OptionsBlock::storedHeight(629, 300), 629);
}

TEST(OptionsBlock, SampleTextEncoding)
{
    EXPECT_EQ(encodePreviewText({QStringLiteral("ab"), QString()}), QStringLiteral("ab~~"));
    EXPECT_EQ(decodePreviewText(QStringLiteral("ab~~")), (QStringList{QStringLiteral("ab"), QString()}));
    EXPECT_EQ(encodePreviewText({}), QString());
    EXPECT_TRUE(decodePreviewText(QString()).isEmpty());
    EXPECT_EQ(decodePreviewText(QStringLiteral("a~~c~")), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(decodePreviewText(QStringLiteral("x~y")), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
    // A "~" inside a line comes back as a line break.
    EXPECT_EQ(decodePreviewText(encodePreviewText({QStringLiteral("a~b")})), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}
