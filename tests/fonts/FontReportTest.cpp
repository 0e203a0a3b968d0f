// SPDX-License-Identifier: MIT
#include "FontReport.h"
#include "InstalledFonts.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using K = ReportLineKind;

QStringList render(const std::vector<ReportLine> &lines)
{
    QStringList out;
    for (const ReportLine &l : lines)
        out << QString::fromLatin1(l.kind == K::Heading ? "H:" : l.kind == K::Label ? "L:" : "V:") + l.text;
    return out;
}

std::array<QString, 21> someNames()
{
    std::array<QString, 21> names;
    names[0] = QStringLiteral("(c) Maker\r\nAll rights reserved");
    names[1] = QStringLiteral("Family");
    names[2] = QStringLiteral("Bold");
    names[5] = QStringLiteral("Version 1.0");
    names[15] = QStringLiteral("never shown");
    names[20] = QStringLiteral("CID");
    return names;
}

}

TEST(FontReport, InstalledFontHasFourSectionsAndNoSubfamily)
{
    const QStringList cells = {QStringLiteral("TrueType"), QStringLiteral("ANSI"), QStringLiteral("255"), QStringLiteral("7"),
                               QStringLiteral("19"), QStringLiteral("400"), QStringLiteral("Book"), QStringLiteral("Variable"),
                               QStringLiteral("Swiss"), QStringLiteral("DejaVuSans.ttf"), QStringLiteral(".ttf"), QStringLiteral("0;204")};
    const auto lines = installedFontReport(QStringLiteral("DejaVu Sans"), cells, someNames(), {QStringLiteral("ANSI"), QStringLiteral("Cyrillic")});
    EXPECT_EQ(render(lines), (QStringList{
        "H:General Options", "H:", "L:Font Name:", "V:DejaVu Sans", "L:Font File Name:", "V:DejaVuSans.ttf",
        "L:Copyright:", "V:(c) Maker", "V:All rights reserved",
        "H:", "H:Text Options", "H:", "L:Characters total:", "V:255", "L:Width:", "V:7", "L:Height:", "V:19",
        "L:Weigth:", "V:400", "L:Style:", "V:Book", "L:Type:", "V:Variable", "L:Pitch:", "V:Swiss",
        "H:", "H:Charsets", "H:", "V:- ANSI", "V:- Cyrillic",
        "H:", "H:Additional Options", "H:", "L:Font Family:", "V:Family", "L:Version:", "V:Version 1.0",
        "L:PostScript CID:", "V:CID"}));
}

TEST(FontReport, FontFileReportShowsSubfamilyAndAlwaysNameAndFile)
{
    const auto lines = fontFileReport(QString(), QStringLiteral("/fonts/x.ttf"), someNames());
    const QStringList text = render(lines);
    EXPECT_EQ(text.mid(0, 6), (QStringList{"H:General Options", "H:", "L:Font Name:", "L:Font File Name:", "V:/fonts/x.ttf", "L:Copyright:"}));
    EXPECT_TRUE(text.contains(QStringLiteral("L:Font Subfamily:")));
    EXPECT_FALSE(text.contains(QStringLiteral("H:Text Options")));
    EXPECT_FALSE(text.contains(QStringLiteral("V:never shown")));
    EXPECT_FALSE(text.contains(QStringLiteral("L:Description:")));
}

TEST(FontReport, RtfCarriesColoursWeightsAndEscapes)
{
    std::vector<ReportLine> lines;
    appendHeading(lines, QStringLiteral("General Options"));
    appendLabel(lines, QStringLiteral("Font Name:"));
    appendValue(lines, QStringLiteral("a{b}c\\d Ж"));
    const QByteArray rtf = reportToRtf(lines, 13);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red128\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\cf1\\b\\fs30 General Options\\par"));
    EXPECT_TRUE(rtf.contains("\\cf2\\b\\fs26 Font Name:\\par"));
    EXPECT_TRUE(rtf.contains("\\cf3\\b0\\fs26 a\\{b\\}c\\\\d \\u1046?\\par"));
    EXPECT_EQ(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
}
