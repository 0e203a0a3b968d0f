// SPDX-License-Identifier: MIT
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const EnumeratedFace *findFace(const std::vector<EnumeratedFace> &faces, const QString &name)
{
    const auto it = std::find_if(faces.begin(), faces.end(), [&](const EnumeratedFace &f) { return f.faceName == name; });
    return it == faces.end() ? nullptr : &*it;
}

QStringList namesOf(const std::vector<EnumeratedFace> &faces)
{
    QStringList names;
    for (const EnumeratedFace &f : faces)
        names << f.faceName;
    return names;
}

}

TEST(FontCatalogue, EnumeratesEachFamilyOncePerCharsetFromRealFiles)
{
    TestEnvironment::instance().resetUserFiles();
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const auto faces = catalogue.enumerate(EnumCharset::Default);

    // DejaVu Sans comes from two files (Book and Bold) but is one family; the Book face speaks for it.
    const auto sans = std::count_if(faces.begin(), faces.end(), [](const EnumeratedFace &f) { return f.faceName == QLatin1String("DejaVu Sans"); });
    EXPECT_GT(sans, 3);
    const EnumeratedFace *dejavu = findFace(faces, QStringLiteral("DejaVu Sans"));
    ASSERT_NE(dejavu, nullptr);
    EXPECT_EQ(dejavu->style, QStringLiteral("Book"));
    EXPECT_EQ(dejavu->charset, 0);
    EXPECT_EQ(dejavu->weight, 400);
    EXPECT_EQ(dejavu->lastChar, 255);
    EXPECT_EQ(dejavu->pitchAndFamily, 0x22);
    EXPECT_EQ(dejavu->height, 19);
    EXPECT_FALSE(dejavu->raster);

    const EnumeratedFace *mono = findFace(faces, QStringLiteral("DejaVu Sans Mono"));
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->pitchAndFamily, 0x31);

    // A Windows raster font: the FNT header's values.
    const EnumeratedFace *raster = findFace(faces, QStringLiteral("MS Sans Serif"));
    ASSERT_NE(raster, nullptr);
    EXPECT_TRUE(raster->raster);
    EXPECT_EQ(raster->charset, 0);
    EXPECT_EQ(raster->lastChar, 255);
    EXPECT_GT(raster->height, 0);

    // A symbol font enumerates with the symbol charset only and is not an ANSI face.
    const EnumeratedFace *marlett = findFace(faces, QStringLiteral("Marlett"));
    ASSERT_NE(marlett, nullptr);
    EXPECT_EQ(marlett->charset, 2);
    const auto ansi = catalogue.enumerate(EnumCharset::Ansi);
    EXPECT_FALSE(namesOf(ansi).contains(QStringLiteral("Marlett")));
    EXPECT_TRUE(namesOf(ansi).contains(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(namesOf(ansi).count(QStringLiteral("DejaVu Sans")), 1);
}

TEST(FontCatalogue, TemporaryFontsJoinTheEnumerationWhileAdded)
{
    TestEnvironment::instance().resetUserFiles();
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const QString extra = TestEnvironment::wine(QStringLiteral("fixedsys.ttf"));
    const QStringList before = namesOf(catalogue.enumerate(EnumCharset::Ansi));
    ASSERT_GT(catalogue.addTemporary(extra), 0);
    const QStringList after = namesOf(catalogue.enumerate(EnumCharset::Ansi));
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.last(), QStringLiteral("Fixedsys"));
    EXPECT_TRUE(catalogue.removeTemporary(extra));
    EXPECT_EQ(namesOf(catalogue.enumerate(EnumCharset::Ansi)), before);
    EXPECT_FALSE(catalogue.removeTemporary(extra));

    // What FreeType cannot open is not added.
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("notfonts"));
    QFile empty(folder + QStringLiteral("empty.ttf"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile text(folder + QStringLiteral("text.ttf"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a font at all");
    text.close();
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("empty.ttf")), 0);
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("text.ttf")), 0);
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("missing.ttf")), 0);
}

TEST(FontCatalogue, WarmStartReadsFactsFromTheCache)
{
    TestEnvironment::instance().resetUserFiles();
    const QString cacheFolder = TestEnvironment::instance().paths().cacheFolder;
    std::vector<EnumeratedFace> cold;
    {
        FontCatalogue catalogue(cacheFolder);
        cold = catalogue.enumerate(EnumCharset::Default);
    }
    ASSERT_TRUE(QFile::exists(cacheFolder + QStringLiteral("font-facts-v1.tsv")));
    FontCatalogue warm(cacheFolder);
    const auto again = warm.enumerate(EnumCharset::Default);
    ASSERT_EQ(again.size(), cold.size());
    for (size_t i = 0; i < cold.size(); ++i) {
        EXPECT_EQ(again[i].faceName, cold[i].faceName);
        EXPECT_EQ(again[i].charset, cold[i].charset);
        EXPECT_EQ(again[i].pitchAndFamily, cold[i].pitchAndFamily);
        EXPECT_EQ(again[i].width, cold[i].width);
        EXPECT_EQ(again[i].raster, cold[i].raster);
    }
}

TEST(FontsRegistry, ValuesNameTheFontAndItsFile)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    FontCatalogue catalogue(paths.cacheFolder);
    FontsRegistry key(catalogue, paths.systemFontsFolder);
    EXPECT_TRUE(key.keyExists(QStringLiteral("software\\microsoft\\windows nt\\currentversion\\fonts")));
    EXPECT_FALSE(key.keyExists(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts")));
    const QString testFonts = TestEnvironment::instance().testFontsFolder();
    EXPECT_EQ(key.readString(QStringLiteral("DejaVu Sans (TrueType)")), testFonts + QStringLiteral("DejaVuSans.ttf"));
    EXPECT_EQ(key.readString(QStringLiteral("DejaVu Sans Bold (TrueType)")), testFonts + QStringLiteral("DejaVuSans-Bold.ttf"));
    EXPECT_EQ(key.readString(QStringLiteral("MS Sans Serif (VGA res)")), testFonts + QStringLiteral("sserife.fon"));

    // A file in the user's font folder is named bare; deleting the value removes it.
    ASSERT_TRUE(QFile::copy(TestEnvironment::wine(QStringLiteral("courier.ttf")), paths.systemFontsFolder + QStringLiteral("courier.ttf")));
    EXPECT_TRUE(key.writeString(QStringLiteral("Courier (TrueType)"), QStringLiteral("courier.ttf")));
    EXPECT_EQ(key.readString(QStringLiteral("Courier (TrueType)")), QStringLiteral("courier.ttf"));
    EXPECT_TRUE(key.deleteValue(QStringLiteral("Courier (TrueType)")));
    EXPECT_FALSE(QFile::exists(paths.systemFontsFolder + QStringLiteral("courier.ttf")));
    EXPECT_FALSE(key.readString(QStringLiteral("Courier (TrueType)")).has_value());
    // A system font outside the user's folder cannot be deleted through the key.
    EXPECT_FALSE(key.deleteValue(QStringLiteral("DejaVu Sans (TrueType)")));
    EXPECT_FALSE(key.writeString(QStringLiteral("X (TrueType)"), QStringLiteral("nothere.ttf")));
}
