// SPDX-License-Identifier: MIT
// The formats of a Linux machine below the windows: collections in the naming-table reader, web
// fonts unpacked in memory, and the kinds and filters of the file types.
#include "CurrentFont.h"
#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "FontFormatBuilders.h"
#include "NameTableReader.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"
#include "WebFont.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace FontFormatBuilders;

std::span<const std::uint8_t> spanOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QString writeFile(const QString &folder, const QString &name, const QByteArray &content)
{
    const QString path = TestEnvironment::instance().makeFolder(folder) + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray dejaVu(const char *file)
{
    return fileBytesOf(TestEnvironment::dejaVu(QString::fromLatin1(file)));
}

}

TEST(NameTableReader, ACollectionGivesTheNamesOfTheFaceAskedFor)
{
    const QByteArray ttc = collection({dejaVu("DejaVuSans.ttf"), dejaVu("DejaVuSerif.ttf")});
    const NameReadResult first = readNameTable(spanOf(ttc), 0);
    EXPECT_EQ(first.status, NameReadStatus::Ok);
    EXPECT_EQ(first.faceCount, 2);
    EXPECT_EQ(first.names[1], QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(first.names[4], QStringLiteral("DejaVu Sans"));
    const NameReadResult second = readNameTable(spanOf(ttc), 1);
    EXPECT_EQ(second.status, NameReadStatus::Ok);
    EXPECT_EQ(second.names[4], QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(second.names[2], QStringLiteral("Book"));
    // No third face: a short read, nothing read from elsewhere.
    const NameReadResult third = readNameTable(spanOf(ttc), 2);
    EXPECT_EQ(third.status, NameReadStatus::ShortRead);
    EXPECT_TRUE(third.names[4].isEmpty());
    // A single font has only face 0.
    EXPECT_EQ(readNameTable(spanOf(dejaVu("DejaVuSans.ttf")), 1).status, NameReadStatus::ShortRead);

    // Through the program's reader, on a file whose name has parentheses.
    const QString path = writeFile(QStringLiteral("ttc-names"), QStringLiteral("Two (faces).ttc"), ttc);
    CurrentFontRecord record;
    int faces = 0;
    EXPECT_EQ(ReadTrueTypeNames(record, path, nullptr, 1, &faces), std::optional<QString>(QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(faces, 2);
    EXPECT_EQ(record.FontFilePath, path);
    EXPECT_EQ(record.FontFileHandle, 0);

    // A face offset past the end of the file: a short read.
    QByteArray broken = ttc;
    put32(broken, 16, static_cast<std::uint32_t>(broken.size() - 4));
    EXPECT_EQ(readNameTable(spanOf(broken), 1).status, NameReadStatus::ShortRead);
    put32(broken, 16, 0xFFFFFFF0u);
    EXPECT_EQ(readNameTable(spanOf(broken), 1).status, NameReadStatus::ShortRead);
}

TEST(WebFont, WoffAndWoff2UnpackToTheFontTheyHold)
{
    const QByteArray sans = dejaVu("DejaVuSans.ttf");
    const QByteArray packed = woff(sans);
    ASSERT_LT(packed.size(), sans.size());
    EXPECT_EQ(webFontKind(packed), WebFontKind::Woff);
    const std::optional<QByteArray> unpacked = decodeWebFont(packed, FontCatalogue::kFontFileLimit);
    ASSERT_TRUE(unpacked.has_value());
    // Every table comes back as it was.
    const std::uint16_t tables = get16(sans, 4);
    ASSERT_EQ(get16(*unpacked, 4), tables);
    for (std::uint16_t t = 0; t < tables; ++t) {
        const qsizetype record = 12 + 16 * t;
        EXPECT_EQ(unpacked->mid(get32(*unpacked, record + 8), get32(*unpacked, record + 12)),
                  sans.mid(get32(sans, record + 8), get32(sans, record + 12)));
    }
    EXPECT_EQ(readNameTable(spanOf(*unpacked)).names[4], QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(FontCatalogue::isFontData(packed));

    const QByteArray packed2 = woff2(fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))),
                                     TestEnvironment::instance().makeFolder(QStringLiteral("woff2-unpack")));
    ASSERT_FALSE(packed2.isEmpty()) << "woff2_compress failed";
    EXPECT_EQ(webFontKind(packed2), WebFontKind::Woff2);
    const std::optional<QByteArray> unpacked2 = decodeWebFont(packed2, FontCatalogue::kFontFileLimit);
    ASSERT_TRUE(unpacked2.has_value());
    EXPECT_EQ(readNameTable(spanOf(*unpacked2)).names[4], QStringLiteral("Fixedsys"));
    EXPECT_TRUE(FontCatalogue::isFontData(packed2));

    // Anything else passes through as it is.
    EXPECT_EQ(webFontKind(sans), WebFontKind::None);
    EXPECT_EQ(unpackedFontContent(sans, FontCatalogue::kFontFileLimit), std::optional<QByteArray>(sans));
}

TEST(WebFont, DamagedOrOversizedWebFontsAreRefused)
{
    const QByteArray sans = dejaVu("DejaVuSans.ttf");
    const QByteArray good = woff(sans);
    const QByteArray small = fileBytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")));
    const QByteArray good2 = woff2(small, TestEnvironment::instance().makeFolder(QStringLiteral("woff2-damaged")));
    ASSERT_FALSE(good2.isEmpty());
    const std::uint16_t tables = get16(good, 12);
    auto changed = [&](const std::function<void(QByteArray &)> &change) {
        QByteArray b = good;
        change(b);
        return b;
    };
    const struct Case {
        const char *what;
        QByteArray content;
        qint64 limit;
    } cases[] = {
        {"header cut short", good.left(30), FontCatalogue::kFontFileLimit},
        {"directory cut short", good.left(44 + 20 * (tables - 1)), FontCatalogue::kFontFileLimit},
        {"no tables", changed([](QByteArray &b) { put16(b, 12, 0); }), FontCatalogue::kFontFileLimit},
        {"more tables than the file holds", changed([](QByteArray &b) { put16(b, 12, 0xFFFF); }), FontCatalogue::kFontFileLimit},
        {"a table past the end", changed([](QByteArray &b) { put32(b, 44 + 4, 0xFFFFFF00u); }), FontCatalogue::kFontFileLimit},
        {"a packed length over the file", changed([&](QByteArray &b) { put32(b, 44 + 8, static_cast<std::uint32_t>(b.size())); }),
         FontCatalogue::kFontFileLimit},
        {"a packed table larger than unpacked", changed([](QByteArray &b) { put32(b, 44 + 12, 1); }), FontCatalogue::kFontFileLimit},
        {"an unpacked size of 4 GB", changed([](QByteArray &b) { put32(b, 44 + 12, 0xFFFFFFF0u); }), FontCatalogue::kFontFileLimit},
        {"packed bytes that are no zlib stream", changed([&](QByteArray &b) {
             for (std::uint16_t t = 0; t < tables; ++t)
                 if (get32(b, 44 + 20 * t + 8) < get32(b, 44 + 20 * t + 12))
                     b[get32(b, 44 + 20 * t + 4)] = '\x55';
         }),
         FontCatalogue::kFontFileLimit},
        {"woff larger than the limit once unpacked", good, sans.size() / 2},
        {"woff2 cut short", good2.left(good2.size() / 2), FontCatalogue::kFontFileLimit},
        {"woff2 header only", good2.left(48), FontCatalogue::kFontFileLimit},
        {"woff2 larger than the limit once unpacked", good2, small.size() / 2},
        {"woff2 with its data overwritten", [&] { QByteArray b = good2; b.replace(b.size() / 2, b.size() / 4, QByteArray(b.size() / 4, '\x7f')); return b; }(),
         FontCatalogue::kFontFileLimit},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(decodeWebFont(c.content, c.limit).has_value());
    }
    // Whole files within the limit unpack.
    EXPECT_TRUE(decodeWebFont(good, sans.size() + 64).has_value());
    EXPECT_TRUE(decodeWebFont(good2, small.size() + 1024).has_value());
}

TEST(FontFileTypes, EachFilterListsItsKinds)
{
    EXPECT_EQ(extensionFilterItems(),
              QStringList({QStringLiteral("TrueType  (*.ttf)"), QStringLiteral("Raster (*.fon)"), QStringLiteral("Font files (*.ttf;*.fon)"),
                           QStringLiteral("OpenType (*.otf;*.ttc;*.otc)"), QStringLiteral("Web fonts (*.woff;*.woff2)"),
                           QStringLiteral("Type 1 (*.pfb;*.pfa;*.t1)"), QStringLiteral("All font files")}));
    // Per extension, the image under filters 0 to 6.
    const struct Row {
        const char *extension;
        int images[7];
        const char *suffix;   // under "All font files"
    } rows[] = {
        {".ttf", {2, -1, 2, -1, -1, -1, 2}, " (TrueType)"},  {".TTF", {2, -1, 2, -1, -1, -1, 2}, " (TrueType)"},
        {".001", {2, -1, 2, -1, -1, -1, 2}, " (TrueType)"},  {".fon", {-1, 3, 3, -1, -1, -1, 3}, " (VGA res)"},
        {".fnt", {-1, -1, -1, -1, -1, -1, 3}, " (VGA res)"}, {".otf", {-1, -1, -1, 2, -1, -1, 2}, " (TrueType)"},
        {".ttc", {-1, -1, -1, 2, -1, -1, 2}, " (TrueType)"}, {".OTC", {-1, -1, -1, 2, -1, -1, 2}, " (TrueType)"},
        {".woff", {-1, -1, -1, -1, 2, -1, 2}, " (TrueType)"}, {".woff2", {-1, -1, -1, -1, 2, -1, 2}, " (TrueType)"},
        {".pfb", {-1, -1, -1, -1, -1, 2, 2}, " (Type 1)"},   {".pfa", {-1, -1, -1, -1, -1, 2, 2}, " (Type 1)"},
        {".t1", {-1, -1, -1, -1, -1, 2, 2}, " (Type 1)"},    {".afm", {-1, -1, -1, -1, -1, -1, -1}, ""},
        {".zip", {-1, -1, -1, -1, -1, -1, -1}, ""},          {"", {-1, -1, -1, -1, -1, -1, -1}, ""},
    };
    for (const Row &row : rows) {
        const QString ext = QString::fromLatin1(row.extension);
        for (int filter = 0; filter < 7; ++filter)
            EXPECT_EQ(FileTypeImage(ext, filter), row.images[filter]) << row.extension << " under " << filter;
        EXPECT_EQ(fontsKeySuffix(ext, 6), QString::fromLatin1(row.suffix)) << row.extension;
        EXPECT_EQ(fontsKeySuffix(ext, 0), row.images[0] == 2 ? QStringLiteral(" (TrueType)") : QString()) << row.extension;
    }
    // The open dialogs keep the three filters of old first and all files last.
    EXPECT_TRUE(kFontFileFilter.startsWith(QStringLiteral("TrueType (*.ttf)|*.ttf;*.001|Raster (*.fon)|*.fon|All fonts|*.fon;*.ttf|")));
    EXPECT_TRUE(kFontFileFilter.endsWith(QStringLiteral("|All font files|*.ttf;*.001;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pfb;*.pfa;*.t1;*.fon;*.fnt|All files|*.*")));
}
