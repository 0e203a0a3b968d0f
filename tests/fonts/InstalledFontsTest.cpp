// SPDX-License-Identifier: MIT
#include "InstalledFonts.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

EnumeratedFace face(const char *name, int charset, int pitchAndFamily = 0x22, int weight = 400)
{
    EnumeratedFace f;
    f.faceName = QString::fromLatin1(name);
    f.style = QStringLiteral("Regular");
    f.charset = charset;
    f.pitchAndFamily = pitchAndFamily;
    f.weight = weight;
    f.lastChar = 255;
    f.width = 7;
    f.height = 16;
    return f;
}

}

TEST(InstalledFonts, ValueNamesSplitIntoFaceAndType)
{
    const auto arial = splitFontsValue(QStringLiteral("Arial Bold (TrueType)"), QStringLiteral("arialbd.ttf"));
    EXPECT_EQ(arial.face, QStringLiteral("Arial Bold"));
    EXPECT_EQ(arial.type, QStringLiteral("TrueType"));
    EXPECT_EQ(arial.file, QStringLiteral("arialbd.ttf"));
    const auto sans = splitFontsValue(QStringLiteral("MS Sans Serif 8,10,12,14,18,24 (VGA res)"), QStringLiteral("SSERIFE.FON"));
    EXPECT_EQ(sans.face, QStringLiteral("MS Sans Serif 8,10,12,14,18,24"));
    EXPECT_EQ(sans.type, QStringLiteral("VGA res"));
    const auto courier = splitFontsValue(QStringLiteral("Courier 10,12,15"), QStringLiteral("COURE.FON"));
    EXPECT_EQ(courier.face, QStringLiteral("Courier 10,12,15"));
    EXPECT_EQ(courier.type, QStringLiteral("Raster"));

    const QStringList list = {joinInstalledFontFile(arial), joinInstalledFontFile(courier),
                              joinInstalledFontFile({QStringLiteral("Arial Bold"), QStringLiteral("Other"), QStringLiteral("second.ttf")})};
    QString type, file;
    ASSERT_TRUE(FindInstalledFontFile(list, QStringLiteral("Arial Bold"), &type, &file));
    EXPECT_EQ(type, QStringLiteral("TrueType"));
    EXPECT_EQ(file, QStringLiteral("arialbd.ttf"));
    EXPECT_FALSE(FindInstalledFontFile(list, QStringLiteral("arial bold"), &type, &file));
}

TEST(InstalledFonts, RowsGatherCharsetsAndFillTheTwelveColumns)
{
    const QStringList files = {joinInstalledFontFile({QStringLiteral("Arial"), QStringLiteral("TrueType"), QStringLiteral("ARIAL.TTF")}),
                               joinInstalledFontFile({QStringLiteral("Courier 10,12,15"), QStringLiteral("Raster"), QStringLiteral("COURE.FON")})};
    std::vector<EnumeratedFace> faces;
    for (int cs : {0, 238, 204, 161, 162, 177, 178, 186, 163, 1})
        faces.push_back(face("Arial", cs));
    faces.push_back(face("Zed", 0, 0x00, 0));
    faces.push_back(face("Courier 10,12,15", 0, 0x31, 700));
    faces.push_back(face("Arial", 2));   // the same face again after another: a row of its own

    const auto rows = buildInstalledFontRows(faces, files);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].caption, QStringLiteral("Arial"));
    EXPECT_EQ(rows[0].subItems, (QStringList{QStringLiteral("TrueType"), QStringLiteral("ANSI"), QStringLiteral("255"), QStringLiteral("7"),
                                             QStringLiteral("16"), QStringLiteral("400"), QStringLiteral("Regular"), QStringLiteral("Variable"),
                                             QStringLiteral("Swiss"), QStringLiteral("ARIAL.TTF"), QStringLiteral(".TTF"),
                                             QStringLiteral("0;238;204;161;162;177;178;186;163;1")}));
    EXPECT_EQ(rows[0].image, 2);
    EXPECT_EQ(rows[1].caption, QStringLiteral("Arial"));
    EXPECT_EQ(rows[1].subItems[FontsListColumn::Charset], QStringLiteral("Symbol"));
    EXPECT_EQ(rows[1].subItems[FontsListColumn::FileName], QStringLiteral("ARIAL.TTF"));
    EXPECT_EQ(rows[2].caption, QStringLiteral("Courier 10,12,15"));
    EXPECT_EQ(rows[2].subItems[FontsListColumn::Type], QStringLiteral("Raster"));
    EXPECT_EQ(rows[2].subItems[FontsListColumn::Pitch], QStringLiteral("Fixed"));
    EXPECT_EQ(rows[2].subItems[FontsListColumn::Family], QStringLiteral("Modern"));
    EXPECT_EQ(rows[2].subItems[FontsListColumn::Weight], QStringLiteral("700"));
    EXPECT_EQ(rows[2].image, 3);
    EXPECT_EQ(rows[3].caption, QStringLiteral("Zed"));
    EXPECT_EQ(rows[3].subItems[FontsListColumn::Type], QStringLiteral("TrueType"));
    EXPECT_EQ(rows[3].subItems[FontsListColumn::FileName], QStringLiteral("Unknown"));
    EXPECT_EQ(rows[3].subItems[FontsListColumn::DosExt], QString());
    EXPECT_EQ(rows[3].subItems[FontsListColumn::Weight], QStringLiteral("Default"));
    EXPECT_EQ(rows[3].subItems[FontsListColumn::Pitch], QStringLiteral("Default"));
    EXPECT_EQ(rows[3].subItems[FontsListColumn::Family], QStringLiteral("Don't care"));
}

TEST(InstalledFonts, PitchAndFamilyTexts)
{
    EXPECT_EQ(pitchText(0x22), QStringLiteral("Variable"));
    EXPECT_EQ(familyText(0x22), QStringLiteral("Swiss"));
    EXPECT_EQ(pitchText(0x31), QStringLiteral("Fixed"));
    EXPECT_EQ(familyText(0x31), QStringLiteral("Modern"));
    EXPECT_EQ(pitchText(0x03), QStringLiteral("Fixed"));
    EXPECT_EQ(familyText(0x12), QStringLiteral("Roman"));
    EXPECT_EQ(familyText(0x42), QStringLiteral("Script"));
    EXPECT_EQ(familyText(0x52), QStringLiteral("Decorative"));
    EXPECT_EQ(familyText(0x62), QStringLiteral("Don't care"));
    EXPECT_EQ(fileExtension(QStringLiteral("/usr/share/fonts.d/arial")), QString());
    EXPECT_EQ(fileExtension(QStringLiteral("/usr/share/fonts/x.pfb")), QStringLiteral(".pfb"));
}

TEST(InstalledFonts, FaceNamesDropOnlyConsecutiveRepeats)
{
    const std::vector<EnumeratedFace> faces = {face("A", 0), face("A", 0), face("B", 0), face("A", 0)};
    EXPECT_EQ(faceNamesOf(faces), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")}));
}
