// SPDX-License-Identifier: MIT
#include "CliTestSupport.h"
#include "FileHelpers.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QStringList keysOf(const QJsonObject &object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QJsonObject firstWhere(const QJsonArray &array, const QString &key, const QString &value)
{
    for (const QJsonValue &item : array)
        if (item.toObject().value(key).toString() == value)
            return item.toObject();
    return {};
}

}

TEST(CommandLine, SubcommandsWindowArgumentsAndBadUsage)
{
    struct Case {
        QStringList arguments;
        CommandLine::Kind kind;
        QString error;
    };
    const Case cases[] = {
        {{}, CommandLine::Kind::Window, {}},
        {{"font.ttf", "install"}, CommandLine::Kind::Window, {}},
        {{"--help"}, CommandLine::Kind::Help, {}},
        {{"info", "--help"}, CommandLine::Kind::Help, {}},
        {{"--version"}, CommandLine::Kind::Version, {}},
        {{"info", "a.ttf", "b.ttf", "--json"}, CommandLine::Kind::Info, {}},
        {{"list"}, CommandLine::Kind::List, {}},
        {{"zip-extract", "a.zip", "x", "-d", "out"}, CommandLine::Kind::ZipExtract, {}},
        {{"info"}, CommandLine::Kind::BadUsage, "info needs at least one file"},
        {{"uninstall"}, CommandLine::Kind::BadUsage, "uninstall needs at least one file or font name"},
        {{"install", "--json", "a.ttf"}, CommandLine::Kind::BadUsage, "install does not take --json"},
        {{"list", "x"}, CommandLine::Kind::BadUsage, "list takes no operands"},
        {{"zip-list", "a.zip", "b.zip"}, CommandLine::Kind::BadUsage, "zip-list takes one archive"},
        {{"zip-extract", "a.zip", "x"}, CommandLine::Kind::BadUsage, "zip-extract needs -d DIR"},
        {{"zip-extract", "a.zip", "-d", "out"}, CommandLine::Kind::BadUsage, "zip-extract takes an archive and at least one entry"},
        {{"info", "a.ttf", "-d", "out"}, CommandLine::Kind::BadUsage, "info does not take -d"},
        {{"font.ttf", "--json"}, CommandLine::Kind::BadUsage, "--json belongs to info, list and zip-list"},
        {{"--screenshot-page", "7"}, CommandLine::Kind::BadUsage, "--screenshot-page takes 0, 1, 2 or 3"},
        {{"--bogus"}, CommandLine::Kind::BadUsage, "Unknown option 'bogus'."},
    };
    for (const Case &c : cases) {
        const CommandLine line = parseCommandLine(QStringList{"glyvanta"} + c.arguments);
        EXPECT_EQ(line.kind, c.kind) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.error, c.error) << c.arguments.join(' ').toStdString();
    }
    const CommandLine window = parseCommandLine({"glyvanta", "a.ttf", "b.ttf", "--screenshot", "s.png", "--screenshot-page", "2"});
    EXPECT_EQ(window.windowArguments, QStringList({"a.ttf", "b.ttf"}));
    EXPECT_EQ(window.screenshot, "s.png");
    EXPECT_EQ(window.screenshotPage, 2);
    // Qt's own options are the window application's, not ours.
    EXPECT_EQ(withoutToolkitOptions({"glyvanta", "-platform", "offscreen", "info", "-style=fusion", "-reverse", "x.ttf"}),
              QStringList({"glyvanta", "info", "x.ttf"}));

    const CliRun bad = runCli({"info"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "glyvanta: info needs at least one file\nTry 'glyvanta --help'.\n");
    EXPECT_EQ(bad.out, "");
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: glyvanta [FILE|FOLDER]... [install]\n"));
    EXPECT_TRUE(help.out.contains("Exit status: 0 success, 1 an item failed, 2 bad usage.\n"));
    EXPECT_EQ(runCli({"--version"}).out, "Glyvanta 2.4\n");
}

TEST(CliInfo, JsonOfARealTrueTypeFont)
{
    const QString path = TestEnvironment::dejaVu("DejaVuSans.ttf");
    const CliRun run = runCli({"info", path, "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    const QJsonArray files = run.json().array();
    ASSERT_EQ(files.size(), 1);
    const QJsonObject file = files[0].toObject();
    EXPECT_EQ(keysOf(file), QStringList({"faces", "file", "format"}));
    EXPECT_EQ(file["file"].toString(), path);
    EXPECT_EQ(file["format"].toString(), "TrueType");
    const QJsonArray faces = file["faces"].toArray();
    ASSERT_EQ(faces.size(), 1);
    const QJsonObject face = faces[0].toObject();
    EXPECT_EQ(keysOf(face), QStringList({"blocks", "characterCount", "characterMap", "charsets", "family", "fullName", "index", "metrics",
                                         "names", "style"}));
    EXPECT_EQ(face["index"].toInt(), 0);
    EXPECT_EQ(face["family"].toString(), "DejaVu Sans");
    EXPECT_EQ(face["style"].toString(), "Book");
    EXPECT_EQ(face["fullName"].toString(), "DejaVu Sans");
    EXPECT_EQ(face["characterMap"].toString(), "unicode");

    // Every record of the naming table, not only the 21 the window keeps.
    const QJsonArray names = face["names"].toArray();
    EXPECT_GT(names.size(), 21);
    const QJsonObject first = names[0].toObject();
    EXPECT_EQ(keysOf(first), QStringList({"encodingId", "languageId", "nameId", "platformId", "value"}));
    bool sawWindowsFamily = false;
    for (const QJsonValue &value : names) {
        const QJsonObject name = value.toObject();
        if (name["platformId"].toInt() == 3 && name["encodingId"].toInt() == 1 && name["languageId"].toInt() == 1033 && name["nameId"].toInt() == 1)
            sawWindowsFamily = name["value"].toString() == "DejaVu Sans";
    }
    EXPECT_TRUE(sawWindowsFamily);

    const QJsonObject metrics = face["metrics"].toObject();
    EXPECT_EQ(keysOf(metrics), QStringList({"ascender", "averageWidth", "descender", "family", "italic", "lastChar", "lineHeight", "pitch",
                                            "pixelHeight", "unitsPerEm", "weight"}));
    EXPECT_EQ(metrics["unitsPerEm"].toInt(), 2048);
    EXPECT_EQ(metrics["ascender"].toInt(), 1901);
    EXPECT_EQ(metrics["descender"].toInt(), -483);
    EXPECT_EQ(metrics["weight"].toInt(), 400);
    EXPECT_FALSE(metrics["italic"].toBool());
    EXPECT_EQ(metrics["lastChar"].toInt(), 255);

    const QJsonArray charsets = face["charsets"].toArray();
    ASSERT_FALSE(charsets.isEmpty());
    EXPECT_EQ(charsets[0].toObject(), QJsonObject({{"code", 0}, {"name", "ANSI"}}));

    const QJsonArray blocks = face["blocks"].toArray();
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_EQ(blocks[0].toObject(),
              QJsonObject({{"name", "Basic Latin"}, {"first", "U+0000"}, {"last", "U+007F"}, {"size", 128}, {"covered", 95}}));
    EXPECT_EQ(firstWhere(blocks, "name", "Latin 1 Supplement")["covered"].toInt(), 96);
    int covered = 0;
    for (const QJsonValue &block : blocks) {
        covered += block.toObject()["covered"].toInt();
        EXPECT_LE(block.toObject()["covered"].toInt(), block.toObject()["size"].toInt());
    }
    // Every character the font maps lies in some block.
    EXPECT_EQ(face["characterCount"].toInt(), covered);
    EXPECT_GT(covered, 5000);

    const CliRun text = runCli({"info", path});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.startsWith("File: " + path + "\nFormat: TrueType\nFaces: 1\n\nFace 0: DejaVu Sans\n"));
    EXPECT_TRUE(text.out.contains("    U+0000..U+007F Basic Latin: 95 of 128\n"));
}

TEST(CliInfo, CollectionRasterFontAndFailures)
{
    const QString folder = TestEnvironment::instance().makeFolder("cli-info");
    const QString ttc = folder + "two.ttc";
    ASSERT_TRUE(writeFile(ttc, collectionOf({fileBytes(TestEnvironment::dejaVu("DejaVuSans.ttf")),
                                             fileBytes(TestEnvironment::dejaVu("DejaVuSerif.ttf"))})));
    const CliRun collection = runCli({"info", "--json", ttc});
    ASSERT_EQ(collection.status, 0) << collection.err.toStdString();
    const QJsonObject file = collection.json().array()[0].toObject();
    EXPECT_EQ(file["format"].toString(), "TrueType collection");
    const QJsonArray faces = file["faces"].toArray();
    ASSERT_EQ(faces.size(), 2);
    EXPECT_EQ(faces[0].toObject()["fullName"].toString(), "DejaVu Sans");
    EXPECT_EQ(faces[1].toObject()["fullName"].toString(), "DejaVu Serif");
    EXPECT_EQ(faces[1].toObject()["index"].toInt(), 1);

    const CliRun raster = runCli({"info", "--json", TestEnvironment::wine("sserife.fon")});
    ASSERT_EQ(raster.status, 0) << raster.err.toStdString();
    const QJsonObject rasterFile = raster.json().array()[0].toObject();
    EXPECT_EQ(rasterFile["format"].toString(), "Windows raster");
    ASSERT_FALSE(rasterFile["faces"].toArray().isEmpty());
    EXPECT_EQ(rasterFile["faces"].toArray()[0].toObject()["family"].toString(), "MS Sans Serif");

    // Each failing file is named on the error stream; the others are still reported.
    const QString text = folder + "notes.txt";
    ASSERT_TRUE(writeFile(text, "not a font\n"));
    const QString missing = folder + "missing.ttf";
    const CliRun mixed = runCli({"info", "--json", missing, text, folder, TestEnvironment::dejaVu("DejaVuSans.ttf")});
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.err, "glyvanta: " + missing + ": no such file\nglyvanta: " + text + ": not a font file\nglyvanta: " + folder
                             + ": not a regular file\n");
    ASSERT_EQ(mixed.json().array().size(), 1);
    EXPECT_EQ(mixed.json().array()[0].toObject()["file"].toString(), TestEnvironment::dejaVu("DejaVuSans.ttf"));
}

namespace {
void collectKeys(const QJsonValue &value, QSet<QString> &keys)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            keys.insert(it.key());
            collectKeys(it.value(), keys);
        }
    } else if (value.isArray()) {
        for (const QJsonValue &item : value.toArray())
            collectKeys(item, keys);
    }
}
}

TEST(CliJson, EveryFieldIsDocumentedInTheHelpPage)
{
    const QString folder = TestEnvironment::instance().makeFolder("cli-doc");
    ZipBuilder builder;
    builder.add("a.txt", "a");
    ASSERT_TRUE(writeFile(folder + "a.zip", builder.build()));
    QSet<QString> keys;
    for (const QStringList &arguments : {QStringList{"info", "--json", TestEnvironment::dejaVu("DejaVuSans.ttf")}, QStringList{"list", "--json"},
                                         QStringList{"zip-list", "--json", folder + "a.zip"}}) {
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonDocument document = run.json();
        collectKeys(document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), keys);
    }
    EXPECT_GT(keys.size(), 30);
    QFile help(bundledResource(QStringLiteral("help.html")));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(help.readAll());
    for (const QString &key : keys)
        EXPECT_TRUE(page.contains("<code>" + key + "</code>")) << key.toStdString();
}
