// SPDX-License-Identifier: MIT
#include "FifoGuard.h"
#include "FileHelpers.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets (or, with nothing, removes) environment variables until destruction.
class EnvironmentOverride {
public:
    void set(const char *name, const std::optional<QString> &value)
    {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt);
        if (value)
            qputenv(name, value->toUtf8());
        else
            qunsetenv(name);
    }
    ~EnvironmentOverride()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
    }

private:
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
};

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray bundledBytes(const QString &name)
{
    return fileBytes(bundledResource(name));
}

}

TEST(Paths, FoldersFollowTheXdgVariables)
{
    const QString home = TestEnvironment::instance().makeFolder(QStringLiteral("home"));
    const QString elsewhere = TestEnvironment::instance().makeFolder(QStringLiteral("elsewhere"));
    struct Case {
        const char *what;
        std::optional<QString> value;   // the same kind of value for all three variables
        QString config, cache, fonts;
    };
    const Case cases[] = {
        {"absolute", elsewhere + QStringLiteral("c"), elsewhere + QStringLiteral("c/glyvanta/"),
         elsewhere + QStringLiteral("c/glyvanta/"), elsewhere + QStringLiteral("c/fonts/")},
        {"absolute with a slash", elsewhere + QStringLiteral("d/"), elsewhere + QStringLiteral("d/glyvanta/"),
         elsewhere + QStringLiteral("d/glyvanta/"), elsewhere + QStringLiteral("d/fonts/")},
        {"relative, ignored", QStringLiteral("relative/folder"), home + QStringLiteral(".config/glyvanta/"),
         home + QStringLiteral(".cache/glyvanta/"), home + QStringLiteral(".local/share/fonts/")},
        {"empty", QString(), home + QStringLiteral(".config/glyvanta/"), home + QStringLiteral(".cache/glyvanta/"),
         home + QStringLiteral(".local/share/fonts/")},
        {"unset", std::nullopt, home + QStringLiteral(".config/glyvanta/"), home + QStringLiteral(".cache/glyvanta/"),
         home + QStringLiteral(".local/share/fonts/")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EnvironmentOverride environment;
        environment.set("HOME", home.chopped(1));
        environment.set("XDG_CONFIG_HOME", c.value);
        environment.set("XDG_CACHE_HOME", c.value);
        environment.set("XDG_DATA_HOME", c.value);
        const Paths paths = Paths::fromEnvironment(QStringLiteral("/opt/glyvanta/bin"));
        EXPECT_EQ(paths.configFolder, c.config);
        EXPECT_EQ(paths.cacheFolder, c.cache);
        EXPECT_EQ(paths.systemFontsFolder, c.fonts);
        EXPECT_EQ(paths.programFolder, QStringLiteral("/opt/glyvanta/bin/"));
        EXPECT_EQ(paths.registryFile(), c.config + QStringLiteral("registry.reg"));
        EXPECT_EQ(paths.favoritesIni(), c.config + QStringLiteral("favorites.ini"));
    }
    // The test environment's own folders.
    const Paths paths = TestEnvironment::instance().paths();
    EXPECT_EQ(paths.configFolder, TestEnvironment::instance().root() + QStringLiteral("/config/glyvanta/"));
    EXPECT_EQ(paths.cacheFolder, TestEnvironment::instance().root() + QStringLiteral("/cache/glyvanta/"));
    EXPECT_EQ(paths.systemFontsFolder, TestEnvironment::instance().root() + QStringLiteral("/data/fonts/"));
}

TEST(Paths, ResourcesAreInsideTheBinary)
{
    const Paths paths = TestEnvironment::instance().paths();
    EXPECT_EQ(paths.resourceFolder, QStringLiteral(":/glyvanta/"));
    EXPECT_EQ(bundledResource(QStringLiteral("icons/load.svg")), QStringLiteral(":/glyvanta/icons/load.svg"));
    EXPECT_TRUE(bundledBytes(QStringLiteral("favorites.ini")).contains("[Tips]"));
    EXPECT_TRUE(bundledBytes(QStringLiteral("help.html")).contains("<html"));
    EXPECT_TRUE(bundledBytes(QStringLiteral("icons/load.svg")).startsWith("<svg"));
}

TEST(Paths, DefaultFavoritesComeOutOfTheBinaryOnce)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    QDir(paths.configFolder).removeRecursively();

    ASSERT_TRUE(paths.installDefaultFavorites());
    EXPECT_EQ(fileBytes(paths.favoritesIni()), bundledBytes(QStringLiteral("favorites.ini")));
    EXPECT_EQ(QFileInfo(paths.favoritesIni()).permissions() & 0x0777 /* user, group, other */,
              QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_EQ(entriesOf(paths.configFolder), QStringList{QStringLiteral("favorites.ini")});

    // The user's own file is never replaced.
    ASSERT_TRUE(writeBytes(paths.favoritesIni(), "[Favorites]\nmine=/home/\n"));
    EXPECT_TRUE(paths.installDefaultFavorites());
    EXPECT_EQ(fileBytes(paths.favoritesIni()), QByteArray("[Favorites]\nmine=/home/\n"));

    // Nor is a link, even one that leads nowhere.
    QFile::remove(paths.favoritesIni());
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("linked")) + QStringLiteral("favorites.ini");
    ASSERT_TRUE(QFile::link(target, paths.favoritesIni()));
    EXPECT_TRUE(paths.installDefaultFavorites());
    EXPECT_TRUE(QFileInfo(paths.favoritesIni()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(Paths, HelpPageIsARealFileKeptEqualToTheBinarysCopy)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    const QByteArray help = bundledBytes(QStringLiteral("help.html"));
    ASSERT_FALSE(help.isEmpty());
    const QString page = paths.cacheFolder + QStringLiteral("help.html");

    EXPECT_EQ(paths.helpPage(), page);
    EXPECT_TRUE(QFileInfo(page).isFile());
    EXPECT_EQ(fileBytes(page), help);

    // An older program's page, a page cut short and one grown longer are all written anew.
    for (const QByteArray &stale : {QByteArray("<html>old help</html>"), help.left(help.size() / 2), help + "<!-- more -->"}) {
        ASSERT_TRUE(writeBytes(page, stale));
        EXPECT_EQ(paths.helpPage(), page);
        EXPECT_EQ(fileBytes(page), help);
    }

    // A FIFO in its place is never read (that would wait for a writer) but replaced.
    QFile::remove(page);
    FifoGuard fifo(page);
    EXPECT_EQ(paths.helpPage(), page);
    EXPECT_FALSE(fifo.fired());
    EXPECT_TRUE(QFileInfo(page).isFile());
    EXPECT_EQ(fileBytes(page), help);
}
