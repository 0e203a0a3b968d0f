// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"
#include "FontFormatBuilders.h"
#include "PrivateFamily.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

QStringList familiesOf(QByteArray content)
{
    QStringList families;
    for (const FontFacts &facts : FontCatalogue::readFontData(content))
        families << (facts.valid ? facts.family : QStringLiteral("(invalid)"));
    return families;
}

}

// Each kind of font file the toolkit gets a private copy of comes back with every face renamed,
// and the glyphs, sizes and character sets as they were.
TEST(PrivateFamily, EveryFaceOfEachKindIsRenamed)
{
    using FontFormatBuilders::fileBytesOf;
    const QByteArray sans = fileBytesOf(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")));
    const QByteArray mono = fileBytesOf(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf")));
    const struct {
        const char *what;
        QByteArray content;
        QStringList families;
    } cases[] = {
        {"TrueType", sans, {QStringLiteral("Glyvanta Preview 5")}},
        {"CFF", fileBytesOf(QStringLiteral("/usr/share/fonts/opentype/urw-base35/C059-Roman.otf")), {QStringLiteral("Glyvanta Preview 5")}},
        {"collection", FontFormatBuilders::collection({sans, mono}), {QStringLiteral("Glyvanta Preview 5 0"), QStringLiteral("Glyvanta Preview 5 1")}},
        {"Type 1", fileBytesOf(QStringLiteral("/usr/share/fonts/X11/Type1/NimbusSans-Italic.pfb")), {QStringLiteral("Glyvanta Preview 5")}},
        {"raster", fileBytesOf(TestEnvironment::wine(QStringLiteral("sserife.fon"))), {QStringLiteral("~5"), QStringLiteral("~5"), QStringLiteral("~5")}},
    };
    for (const auto &one : cases) {
        SCOPED_TRACE(one.what);
        ASSERT_FALSE(one.content.isEmpty());
        const QByteArray renamed = withPrivateFamily(one.content, 5);
        EXPECT_EQ(familiesOf(renamed), one.families);
        for (int face = 0; face < one.families.size(); ++face)
            EXPECT_EQ(privateFaceFamily(one.content, 5, face), one.families[face]);
        QByteArray original = one.content, copy = renamed;
        const std::vector<FontFacts> before = FontCatalogue::readFontData(original), after = FontCatalogue::readFontData(copy);
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].lastCode, before[i].lastCode);
            EXPECT_EQ(after[i].height, before[i].height);
            EXPECT_EQ(after[i].weight, before[i].weight);
        }
    }
    // Content that is no font, or of a kind it cannot rename, comes back empty.
    EXPECT_TRUE(withPrivateFamily(QByteArray("not a font at all"), 1).isEmpty());
    EXPECT_TRUE(withPrivateFamily(QByteArray(), 1).isEmpty());
}

// Damaged files of each kind (cut anywhere, or with counts and offsets past their end) give
// nothing or a copy with the same faces, never a read outside the content (see the sanitizer build).
TEST(PrivateFamily, DamagedFilesAreRefusedOrRenamedSafely)
{
    using FontFormatBuilders::fileBytesOf;
    const QByteArray sources[] = {
        fileBytesOf(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf"))).left(4096),
        FontFormatBuilders::collection({fileBytesOf(TestEnvironment::wine(QStringLiteral("marlett.ttf")))}),
        fileBytesOf(QStringLiteral("/usr/share/fonts/X11/Type1/NimbusSans-Italic.pfb")).left(8192),
        fileBytesOf(TestEnvironment::wine(QStringLiteral("smalle.fon"))),
    };
    for (const QByteArray &source : sources) {
        ASSERT_FALSE(source.isEmpty());
        for (qsizetype cut = 0; cut < std::min<qsizetype>(source.size(), 1200); cut += 7)
            withPrivateFamily(source.left(cut), 3);
        // Every 16-bit field of the first bytes set to its largest value.
        for (qsizetype at = 0; at + 1 < std::min<qsizetype>(source.size(), 600); at += 2) {
            QByteArray damaged = source;
            damaged[at] = '\xff';
            damaged[at + 1] = '\xff';
            QByteArray renamed = withPrivateFamily(damaged, 3);
            // A renamed copy has the faces FreeType finds in the damaged file, no more, no fewer.
            if (!renamed.isEmpty())
                EXPECT_EQ(FontCatalogue::readFontData(renamed).size(), FontCatalogue::readFontData(damaged).size()) << at;
        }
    }
}
