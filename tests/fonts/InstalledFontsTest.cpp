// SPDX-License-Identifier: MIT
#include "CharsetTable.h"
#include "InstalledFonts.h"
#include "InstalledFontsRead.h"
#include "LocaleCompare.h"
#include "Paths.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

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

TEST(InstalledFonts, RowsSortAsTheLocaleComparesTheirCaptions)
{
    // Case, accents, punctuation, digits, and one caption twice: the sort keys give the order of
    // the comparison itself, and equal captions keep their enumeration order.
    const char *names[] = {"b", "B", "a", "A", "\xc3\xa1", "\xc3\x81", "MS Sans Serif", "Marlett", "_x", "10", "9", "a", "Zeta",
                           "zeta", "\xc5\x92uvre", "\xc3\x96sel", "O", "a b", "ab", "a-b", "", "\xe6\x97\xa5\xe6\x9c\xac"};
    std::vector<EnumeratedFace> faces;
    for (const char *name : names) {
        faces.push_back(face("", 0));
        faces.back().faceName = QString::fromUtf8(name);
        faces.back().width = static_cast<int>(faces.size());
    }
    const auto rows = buildInstalledFontRows(faces, QStringList());
    std::vector<std::pair<QString, QString>> want;
    for (const EnumeratedFace &f : faces)
        want.emplace_back(f.faceName, QString::number(f.width));
    std::stable_sort(want.begin(), want.end(), [](const auto &a, const auto &b) { return localeCompare(a.first, b.first) < 0; });
    ASSERT_EQ(rows.size(), want.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].caption, want[i].first) << i;
        EXPECT_EQ(rows[i].subItems[FontsListColumn::Width], want[i].second) << i;
    }
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

namespace {

// The lookup as it was first written, walking every entry and splitting it for each face: the
// oracle for the indexed lookup. A face not found by its value name falls back to the first value
// of its file, then to its file itself.
std::vector<InstalledFontRow> rowsByWalking(const std::vector<EnumeratedFace> &faces, const QStringList &entries, const QStringList &entryFiles)
{
    std::vector<InstalledFontRow> rows;
    QString previous;
    for (const EnumeratedFace &face : faces) {
        if (!rows.empty() && face.faceName == previous) {
            rows.back().subItems[FontsListColumn::Charsets] += QLatin1Char(';') + QString::number(face.charset);
            continue;
        }
        previous = face.faceName;
        QString type, file;
        bool found = false;
        for (const QString &entry : entries) {
            const QStringList parts = entry.split(QLatin1Char('\n'));
            if (parts.size() < 3 || parts[0] != face.faceName)
                continue;
            type = parts[1];
            file = parts.mid(2).join(QLatin1Char('\n'));
            found = true;
            break;
        }
        for (qsizetype i = 0; !found && !face.file.isEmpty() && i < entries.size() && i < entryFiles.size(); ++i) {
            if (entryFiles[i] != face.file)
                continue;
            const QStringList parts = entries[i].split(QLatin1Char('\n'));
            type = parts[1];
            file = parts.mid(2).join(QLatin1Char('\n'));
            found = true;
        }
        if (!found) {
            type = face.file.isEmpty() ? QStringLiteral("TrueType") : fontsKeySuffixFor(face.format, face.raster);
            file = face.file.isEmpty() ? QStringLiteral("Unknown") : face.file;
        }
        InstalledFontRow row;
        row.caption = face.faceName;
        row.subItems = {type, CharsetName(face.charset), QString::number(face.lastCode > 0 ? face.lastCode : face.lastChar),
                        QString::number(face.width), QString::number(face.height),
                        face.weight == 0 ? QStringLiteral("Default") : QString::number(face.weight), face.style,
                        pitchText(face.pitchAndFamily), familyText(face.pitchAndFamily), file, fileExtension(file),
                        QString::number(face.charset)};
        row.image = type == QLatin1String("Raster") || face.raster ? 3 : 2;
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const InstalledFontRow &a, const InstalledFontRow &b) {
        return localeCompare(a.caption, b.caption) < 0;
    });
    return rows;
}

void expectSameRows(const std::vector<InstalledFontRow> &got, const std::vector<InstalledFontRow> &want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].caption, want[i].caption) << i;
        EXPECT_EQ(got[i].subItems, want[i].subItems) << i;
        EXPECT_EQ(got[i].image, want[i].image) << i;
    }
}

EnumeratedFace fileFace(const char *name, const char *file, const char *format = "TrueType", int charset = 0)
{
    EnumeratedFace f = face(name, charset);
    f.file = QString::fromUtf8(file);
    f.format = QString::fromLatin1(format);
    f.lastCode = 0x2122;
    return f;
}

}

TEST(InstalledFonts, IndexedLookupsGiveTheRowsOfTheWalk)
{
    // Awkward names: a face named by two values (the first counts), values with and without a
    // type, full names unlike their family, "(" inside a face, a file named by two values, a face
    // whose file no value names, line feeds in a file, faces in runs and apart.
    const QStringList entries = {
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Dup (TrueType)"), QStringLiteral("first.ttf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Dup (OpenType)"), QStringLiteral("second.otf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Courier 10,12,15"), QStringLiteral("COURE.FON"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Nimbus Sans Regular (OpenType)"), QStringLiteral("/usr/share/fonts/n.otf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Nimbus Sans Bold (OpenType)"), QStringLiteral("/usr/share/fonts/nb.otf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Odd (Name) Face (TrueType)"), QStringLiteral("odd.ttf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Feed (TrueType)"), QStringLiteral("line\nfeed.ttf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Shared One (TrueType)"), QStringLiteral("shared.ttf"))),
        joinInstalledFontFile(splitFontsValue(QStringLiteral("Shared Two (TrueType)"), QStringLiteral("shared.ttf"))),
    };
    const QStringList entryFiles = {QStringLiteral("/f/first.ttf"), QStringLiteral("/f/second.otf"), QStringLiteral("/f/COURE.FON"),
                                    QStringLiteral("/usr/share/fonts/n.otf"), QStringLiteral("/usr/share/fonts/nb.otf"),
                                    QStringLiteral("/f/odd.ttf"), QStringLiteral("/f/line\nfeed.ttf"), QStringLiteral("/f/shared.ttf"),
                                    QStringLiteral("/f/shared.ttf")};
    std::vector<EnumeratedFace> faces = {
        fileFace("Dup", "/f/second.otf", "CFF"),
        fileFace("Nimbus Sans", "/usr/share/fonts/n.otf", "CFF", 0),
        fileFace("Nimbus Sans", "/usr/share/fonts/n.otf", "CFF", 238),
        fileFace("Odd", "/f/odd.ttf"),
        fileFace("Odd (Name) Face", "/f/odd.ttf"),
        fileFace("Courier 10,12,15", "/f/COURE.FON", "Windows FNT"),
        fileFace("Shared", "/f/shared.ttf"),
        fileFace("Nameless", "/elsewhere/nameless.pfb", "Type 1"),
        fileFace("Bitmap", "/elsewhere/b.pcf.gz", "PCF"),
        fileFace("Feed", "/f/line\nfeed.ttf"),
        fileFace("Dup", "/f/first.ttf", "TrueType", 2),
        face("No File", 0),
    };
    faces[5].raster = true;
    const auto rows = buildInstalledFontRows(faces, InstalledFontIndex(entries, entryFiles));
    expectSameRows(rows, rowsByWalking(faces, entries, entryFiles));

    // The points of it, spelled out.
    auto rowOf = [&](const char *caption) {
        for (const InstalledFontRow &row : rows)
            if (row.caption == QLatin1String(caption))
                return row;
        return InstalledFontRow{};
    };
    EXPECT_EQ(rowOf("Dup").subItems[FontsListColumn::FileName], QStringLiteral("first.ttf"));
    EXPECT_EQ(rowOf("Nimbus Sans").subItems[FontsListColumn::FileName], QStringLiteral("/usr/share/fonts/n.otf"));
    EXPECT_EQ(rowOf("Nimbus Sans").subItems[FontsListColumn::Type], QStringLiteral("OpenType"));
    EXPECT_EQ(rowOf("Nimbus Sans").subItems[FontsListColumn::Charsets], QStringLiteral("0;238"));
    EXPECT_EQ(rowOf("Nimbus Sans").subItems[FontsListColumn::Characters], QStringLiteral("8482"));
    EXPECT_EQ(rowOf("Odd").subItems[FontsListColumn::FileName], QStringLiteral("odd.ttf"));
    EXPECT_EQ(rowOf("Shared").subItems[FontsListColumn::FileName], QStringLiteral("shared.ttf"));
    EXPECT_EQ(rowOf("Nameless").subItems[FontsListColumn::Type], QStringLiteral("Type 1"));
    EXPECT_EQ(rowOf("Nameless").subItems[FontsListColumn::FileName], QStringLiteral("/elsewhere/nameless.pfb"));
    EXPECT_EQ(rowOf("Bitmap").subItems[FontsListColumn::Type], QStringLiteral("Raster"));
    EXPECT_EQ(rowOf("Bitmap").image, 3);
    EXPECT_EQ(rowOf("Courier 10,12,15").image, 3);
    EXPECT_EQ(rowOf("No File").subItems[FontsListColumn::FileName], QStringLiteral("Unknown"));

    // The old lookup itself still answers as the Fonts key's first value of the face.
    QString type, file;
    ASSERT_TRUE(FindInstalledFontFile(entries, QStringLiteral("Dup"), &type, &file));
    const InstalledFontIndex index(entries, entryFiles);
    const InstalledFontFile *indexed = index.byFace(QStringLiteral("Dup"));
    ASSERT_NE(indexed, nullptr);
    EXPECT_EQ(indexed->type, type);
    EXPECT_EQ(indexed->file, file);
    ASSERT_TRUE(FindInstalledFontFile(entries, QStringLiteral("Feed"), &type, &file));
    const InstalledFontIndex byFaceOnly(entries);
    ASSERT_NE(byFaceOnly.byFace(QStringLiteral("Feed")), nullptr);
    EXPECT_EQ(byFaceOnly.byFace(QStringLiteral("Feed"))->file, file);
}

TEST(InstalledFonts, IndexedRowsOverTheRealFontsMatchTheWalkAndNameEveryFile)
{
    // The test fonts, the fonts of this machine through a configuration of their own, and this
    // machine's installed fonts as its own configuration serves them.
    const QByteArray saved = qgetenv("FONTCONFIG_FILE");
    const QString root = TestEnvironment::instance().makeFolder(QStringLiteral("machine-fonts"));
    QFile conf(root + QStringLiteral("/fonts.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>/usr/share/fonts</dir><dir>/usr/share/wine/fonts</dir>"
                              "<cachedir>%1/fccache</cachedir></fontconfig>\n").arg(root).toUtf8());
    conf.close();
    for (const QByteArray &config : {saved, conf.fileName().toUtf8(), QByteArray("/etc/fonts/fonts.conf")}) {
        if (!QFile::exists(QString::fromUtf8(config)))
            continue;
        qputenv("FONTCONFIG_FILE", config);
        const InstalledFontsSnapshot snapshot = readInstalledFonts(root + QStringLiteral("/cache"), TestEnvironment::instance().paths().systemFontsFolder, true);
        ASSERT_FALSE(snapshot.rows.empty());
        // The same read handing its faces over once their facts are read: it reads them where
        // they went, and makes the same rows.
        std::vector<CatalogueFont> handed;
        int handOvers = 0;
        const InstalledFontsSnapshot over = readInstalledFonts(
            root + QStringLiteral("/cache"), TestEnvironment::instance().paths().systemFontsFolder, true, {}, nullptr,
            [&](std::vector<CatalogueFont> &&faces) -> const std::vector<CatalogueFont> & {
                ++handOvers;
                handed = std::move(faces);
                return handed;
            });
        EXPECT_EQ(handOvers, 1);
        EXPECT_TRUE(over.fonts.empty());
        ASSERT_EQ(handed.size(), snapshot.fonts.size());
        for (size_t i = 0; i < handed.size(); ++i)
            EXPECT_TRUE(handed[i].file == snapshot.fonts[i].file && handed[i].index == snapshot.fonts[i].index) << i;
        EXPECT_EQ(over.installedFontFiles, snapshot.installedFontFiles);
        expectSameRows(over.rows, snapshot.rows);
        std::vector<const CatalogueFont *> fonts;
        for (const CatalogueFont &font : snapshot.fonts)
            fonts.push_back(&font);
        QStringList entries, entryFiles;
        fontsKeyEntries(snapshot.fonts, TestEnvironment::instance().paths().systemFontsFolder, entries, entryFiles);
        expectSameRows(snapshot.rows, rowsByWalking(FontCatalogue::enumerateFonts(fonts, EnumCharset::Default), entries, entryFiles));
        int unknown = 0, unknownByNameOnly = 0;
        for (const InstalledFontRow &row : snapshot.rows) {
            // What the value-name lookup alone, as the list had it, finds.
            unknownByNameOnly += !FindInstalledFontFile(entries, row.caption, nullptr, nullptr);
            const QString file = row.subItems[FontsListColumn::FileName];
            unknown += file == QLatin1String("Unknown");
            EXPECT_TRUE(file.startsWith(QLatin1Char('/')) ? QFile::exists(file) : true) << file.toStdString();
            const QString ext = row.subItems[FontsListColumn::DosExt].toLower();
            if (ext == QLatin1String(".otf"))
                EXPECT_EQ(row.subItems[FontsListColumn::Type], QStringLiteral("OpenType")) << row.caption.toStdString();
            if (ext == QLatin1String(".pfb") || ext == QLatin1String(".t1"))
                EXPECT_EQ(row.subItems[FontsListColumn::Type], QStringLiteral("Type 1")) << row.caption.toStdString();
            if (ext == QLatin1String(".fon"))
                EXPECT_EQ(row.image, 3) << row.caption.toStdString();
            if (row.caption == QLatin1String("DejaVu Sans"))
                EXPECT_GT(row.subItems[FontsListColumn::Characters].toInt(), 255);
        }
        EXPECT_EQ(unknown, 0);
        std::printf("[ info ] %zu rows, %d with File Name \"Unknown\", %d by the value name alone (%s)\n", snapshot.rows.size(), unknown,
                    unknownByNameOnly, config.constData());
    }
    qputenv("FONTCONFIG_FILE", saved);
}

// The read started as the program starts is taken by the first read over its facts cache, whole,
// and by no other; one stopped before it was taken is not taken at all.
TEST(InstalledFonts, TheHeadStartReadIsTakenOnceByTheFirstReadOverItsCache)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    const QString cache = TestEnvironment::instance().makeFolder(QStringLiteral("head-start")) + QStringLiteral("/cache/");
    const InstalledFontsSnapshot plain = readInstalledFonts(cache, paths.systemFontsFolder, true);
    ASSERT_FALSE(plain.rows.empty());

    startInstalledFacesHeadStart(cache);
    // Another cache is another read.
    const InstalledFontsSnapshot other = readInstalledFonts(cache + QStringLiteral("other/"), paths.systemFontsFolder, true);
    expectSameRows(other.rows, plain.rows);
    std::size_t lastTotal = 0;
    const InstalledFontsSnapshot taken = readInstalledFonts(cache, paths.systemFontsFolder, true, [&](std::size_t, std::size_t total) { lastTotal = total; });
    EXPECT_FALSE(taken.cancelled);
    EXPECT_EQ(taken.fonts.size(), plain.fonts.size());
    EXPECT_EQ(taken.installedFontFiles, plain.installedFontFiles);
    expectSameRows(taken.rows, plain.rows);
    EXPECT_TRUE(lastTotal == 0 || lastTotal == plain.fonts.size()) << lastTotal;

    // Taken once: the next read sees a font installed since.
    QDir().mkpath(paths.systemFontsFolder);
    ASSERT_TRUE(QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-ExtraLight.ttf")), paths.systemFontsFolder + QStringLiteral("light.ttf")));
    FontCatalogue(cache).rescan(paths.systemFontsFolder);
    const InstalledFontsSnapshot after = readInstalledFonts(cache, paths.systemFontsFolder, true);
    EXPECT_EQ(after.fonts.size(), plain.fonts.size() + 1);

    // Stopped before any read took it (over an empty cache, so that it stops halfway through the
    // facts): the next read reads for itself, and sees everything.
    const QString cold = cache + QStringLiteral("cold/");
    startInstalledFacesHeadStart(cold);
    endInstalledFacesHeadStart();
    const InstalledFontsSnapshot fresh = readInstalledFonts(cold, paths.systemFontsFolder, true);
    EXPECT_FALSE(fresh.cancelled);
    expectSameRows(fresh.rows, after.rows);
    QFile::remove(paths.systemFontsFolder + QStringLiteral("light.ttf"));
    FontCatalogue(cache).rescan(paths.systemFontsFolder);
}
