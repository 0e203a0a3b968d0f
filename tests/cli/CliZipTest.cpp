// SPDX-License-Identifier: MIT
#include "CliTestSupport.h"
#include "FileHelpers.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QString buildArchive(const QString &folder, const QString &name, const ZipBuilder &builder)
{
    const QString path = folder + name;
    writeFile(path, builder.build());
    return path;
}

}

TEST(CliZip, ListsEntriesAsJsonAndText)
{
    const QString folder = TestEnvironment::instance().makeFolder("cli-zip-list");
    ZipBuilder builder;
    builder.add("fonts/sans.ttf", fileBytes(TestEnvironment::dejaVu("DejaVuSans.ttf")));
    builder.entries.back().deflated = true;
    builder.add("readme.txt", "hello\n");
    builder.comment = "made by a test";
    const QString archive = buildArchive(folder, "fonts.zip", builder);

    const CliRun run = runCli({"zip-list", archive, "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    const QJsonObject document = run.json().object();
    EXPECT_EQ(document["archive"].toString(), archive);
    EXPECT_EQ(document["comment"].toString(), "made by a test");
    const QJsonArray entries = document["entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    const QJsonObject font = entries[0].toObject();
    EXPECT_EQ(font["name"].toString(), "fonts/sans.ttf");
    EXPECT_EQ(font["size"].toInteger(), QFileInfo(TestEnvironment::dejaVu("DejaVuSans.ttf")).size());
    EXPECT_LT(font["compressedSize"].toInteger(), font["size"].toInteger());
    EXPECT_EQ(font["method"].toInt(), 8);
    EXPECT_EQ(entries[1].toObject(), QJsonObject({{"name", "readme.txt"},
                                                  {"size", 6},
                                                  {"compressedSize", 6},
                                                  {"method", 0},
                                                  {"crc32", "363a3020"},
                                                  {"modified", "1980-01-01T00:00:00"},
                                                  {"encrypted", false}}));

    const CliRun text = runCli({"zip-list", archive});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.endsWith("6\t6\t1980-01-01T00:00:00\treadme.txt\n"));

    const CliRun missing = runCli({"zip-list", folder + "none.zip"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "glyvanta: " + folder + "none.zip: no such file\n");
    ASSERT_TRUE(writeFile(folder + "plain.zip", "no archive at all"));
    const CliRun broken = runCli({"zip-list", folder + "plain.zip", "--json"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.startsWith("glyvanta: " + folder + "plain.zip: ")) << broken.err.toStdString();
    EXPECT_EQ(broken.out, "");
}

TEST(CliZip, ExtractsNamedEntriesInsideTheFolderOnly)
{
    const QString folder = TestEnvironment::instance().makeFolder("cli-zip-extract");
    const QByteArray fontBytes = fileBytes(TestEnvironment::dejaVu("DejaVuSans.ttf"));
    ZipBuilder builder;
    builder.add("fonts/sans.ttf", fontBytes);
    builder.entries.back().deflated = true;
    builder.add("readme.txt", "hello\n");
    builder.add("../escape.txt", "out\n");
    const QString archive = buildArchive(folder, "fonts.zip", builder);
    const QString target = folder + "out/";

    const CliRun run = runCli({"zip-extract", archive, "fonts/sans.ttf", "-d", target});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, target + "fonts/sans.ttf\n");
    EXPECT_EQ(fileBytes(target + "fonts/sans.ttf"), fontBytes);
    EXPECT_FALSE(QFileInfo::exists(target + "readme.txt"));

    // An existing file is not replaced; an unknown entry and an escaping one are refused; the rest goes on.
    ASSERT_TRUE(writeFile(target + "readme.txt", "mine"));
    const CliRun refused = runCli({"zip-extract", archive, "readme.txt", "nothing.txt", "../escape.txt", "fonts/sans.ttf", "-d", folder + "second"});
    EXPECT_EQ(refused.status, 1);
    const CliRun existing = runCli({"zip-extract", archive, "readme.txt", "-d", target});
    EXPECT_EQ(existing.status, 1);
    EXPECT_EQ(existing.err, "glyvanta: " + target + "readme.txt: already exists; not replaced\n");
    EXPECT_EQ(fileBytes(target + "readme.txt"), "mine");
    EXPECT_EQ(refused.err, "glyvanta: " + archive + ": no entry named nothing.txt\nglyvanta: " + archive + ": ../escape.txt would land outside "
                               + folder + "second/; not extracted\n");
    EXPECT_EQ(refused.out, folder + "second/readme.txt\n" + folder + "second/fonts/sans.ttf\n");
    EXPECT_FALSE(QFileInfo::exists(folder + "escape.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder + "second/../escape.txt"));
}
