// SPDX-License-Identifier: MIT
#include "CliTestSupport.h"
#include "FileHelpers.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonObject listedFace(const QString &face)
{
    const CliRun run = runCli({"list", "--json"});
    for (const QJsonValue &value : run.json().array())
        if (value.toObject()["face"].toString() == face)
            return value.toObject();
    return {};
}

}

TEST(CliList, InstalledFontsWithFileFormatStyleAndWhoMayUninstall)
{
    TestEnvironment::instance().resetUserFiles();
    const CliRun run = runCli({"list", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject sans = listedFace("DejaVu Sans");
    const QString testFonts = TestEnvironment::instance().testFontsFolder();
    EXPECT_EQ(sans, QJsonObject({{"face", "DejaVu Sans"},
                                 {"format", "TrueType"},
                                 {"style", sans["style"].toString()},
                                 {"file", testFonts + "DejaVuSans.ttf"},
                                 {"path", testFonts + "DejaVuSans.ttf"},
                                 {"userMayUninstall", false}}));
    EXPECT_FALSE(sans["style"].toString().isEmpty());
    const QJsonObject raster = listedFace("MS Sans Serif");
    EXPECT_EQ(raster["format"].toString(), "VGA res");
    EXPECT_EQ(raster["path"].toString(), testFonts + "sserife.fon");

    const CliRun text = runCli({"list"});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains("DejaVu Sans\tTrueType\t" + sans["style"].toString() + "\t" + testFonts + "DejaVuSans.ttf\tsystem\n"));
}

TEST(CliInstall, InstallsListsAndUninstallsWithTheWindowsMessages)
{
    TestEnvironment::instance().resetUserFiles();
    const QString folder = TestEnvironment::instance().makeFolder("cli-install");
    const QString font = placeCopy(TestEnvironment::dejaVu("DejaVuSansCondensed.ttf"), folder, "Condensed.ttf");
    const QString userFonts = TestEnvironment::instance().paths().systemFontsFolder;

    const CliRun install = runCli({"install", font});
    EXPECT_EQ(install.status, 0);
    EXPECT_EQ(install.err, "glyvanta: " + font + ": The font have been installed succesfully. It will be allowed in system after restarting.\n");
    EXPECT_EQ(fileBytes(userFonts + "Condensed.ttf"), fileBytes(font));
    EXPECT_TRUE(QFileInfo::exists(font));   // a copy: the file stays where it was
    const QJsonObject listed = listedFace("DejaVu Sans Condensed");
    EXPECT_EQ(listed["file"].toString(), "Condensed.ttf");
    EXPECT_EQ(listed["path"].toString(), userFonts + "Condensed.ttf");
    EXPECT_TRUE(listed["userMayUninstall"].toBool());

    // A second install finds the file there and replaces nothing.
    const CliRun again = runCli({"install", font});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "glyvanta: " + font + ": Unable to install the font.\n");

    // Missing files and files that are no font are named; the good ones still go in.
    const QString text = folder + "readme.txt";
    ASSERT_TRUE(writeFile(text, "hello"));
    const QString serif = placeCopy(TestEnvironment::dejaVu("DejaVuSerifCondensed.ttf"), folder, "SerifCondensed.ttf");
    const CliRun mixed = runCli({"install", folder + "none.ttf", folder, text, serif});
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.err, "glyvanta: " + folder + "none.ttf: no such file\nglyvanta: " + folder + ": a folder is not a font file\nglyvanta: " + text + ": Unable to install the font.\nglyvanta: " + serif
                             + ": The font have been installed succesfully. It will be allowed in system after restarting.\n");
    EXPECT_FALSE(QFileInfo::exists(userFonts + "readme.txt"));

    // Uninstall by face name and by file name; the question is answered yes and printed.
    const CliRun byName = runCli({"uninstall", "DejaVu Sans Condensed"});
    EXPECT_EQ(byName.status, 0) << byName.err.toStdString();
    EXPECT_EQ(byName.err, "glyvanta: DejaVu Sans Condensed: Are you really want to uninstall this font -> Yes\n");
    EXPECT_EQ(byName.out, "Uninstalled DejaVu Sans Condensed (" + userFonts + "Condensed.ttf)\n");
    EXPECT_FALSE(QFileInfo::exists(userFonts + "Condensed.ttf"));
    EXPECT_TRUE(listedFace("DejaVu Sans Condensed").isEmpty());
    const CliRun byFile = runCli({"uninstall", "SerifCondensed.ttf"});
    EXPECT_EQ(byFile.status, 0) << byFile.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(userFonts + "SerifCondensed.ttf"));

    // A font of the system's stays, and so does a name nobody has.
    const QString testFonts = TestEnvironment::instance().testFontsFolder();
    const CliRun system = runCli({"uninstall", "DejaVu Sans", "No Such Face"});
    EXPECT_EQ(system.status, 1);
    EXPECT_EQ(system.err, "glyvanta: DejaVu Sans: " + testFonts + "DejaVuSans.ttf is not in your fonts folder (" + userFonts
                              + "); only fonts installed for you can be uninstalled\nglyvanta: No Such Face: no installed font has this name or file\n");
    EXPECT_TRUE(QFileInfo::exists(testFonts + "DejaVuSans.ttf"));
    EXPECT_FALSE(listedFace("DejaVu Sans").isEmpty());
}
