// SPDX-License-Identifier: MIT
// Run inside the fault tests, whose process has a mount namespace of its own: the source tree is
// hidden under an empty file system, as on a machine where the program was only installed.
#include "FaultSystem.h"
#include "FileHelpers.h"
#include "Icons.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

TEST(Resources, FoundInsideTheBinaryWithNoSourceTreeOnDisk)
{
    if (!fault::mountsAvailable())
        GTEST_SKIP() << fault::mountsUnavailableReason().toStdString();
    const QString source = QStringLiteral(GLYVANTA_TEST_SOURCE_DIR);
    ASSERT_TRUE(QFileInfo::exists(source + QStringLiteral("/resources/favorites.ini")));
    fault::Tmpfs hidden(source, 64 * 1024);
    ASSERT_TRUE(hidden.mounted());
    ASSERT_FALSE(QFileInfo::exists(source + QStringLiteral("/resources/favorites.ini")));

    const Paths paths = Paths::fromEnvironment(TestEnvironment::instance().makeFolder(QStringLiteral("bare-program")));
    ASSERT_FALSE(paths.resourceFolder.isEmpty());
    for (const char *name : {"favorites.ini", "help.html", "icons/load.svg"}) {
        QFile file(paths.resourceFolder + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(file.size(), 100) << name;
    }
    QFile favorites(paths.resourceFolder + QStringLiteral("favorites.ini"));
    ASSERT_TRUE(favorites.open(QIODevice::ReadOnly));
    EXPECT_TRUE(favorites.readAll().contains("[Tips]"));

    // The first run's favorites.ini and the help page come out of the binary.
    TestEnvironment::instance().resetUserFiles();
    ASSERT_TRUE(paths.installDefaultFavorites());
    EXPECT_TRUE(fileBytes(paths.favoritesIni()).contains("[Tips]"));
    const QString help = paths.helpPage();
    EXPECT_TRUE(QFileInfo(help).isFile());
    EXPECT_TRUE(fileBytes(help).contains("<html"));

    for (const QString &name : Icons::names()) {
        const QImage image = Icons::get(name).pixmap(QSize(32, 32)).toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << name.toStdString();
        int visible = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                visible += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(visible, 32 * 32 / 16) << name.toStdString();
    }
}
