// SPDX-License-Identifier: MIT
#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString xdgFolder(const char *variable, const QString &fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return withTrailingSlash(value);
    return withTrailingSlash(QDir::homePath() + QLatin1Char('/') + fallbackBelowHome);
}

}

QString withTrailingSlash(const QString &folder)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

Paths Paths::fromEnvironment(const QString &programFolder)
{
    Paths paths;
    paths.configFolder = xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("glyvanta/");
    paths.cacheFolder = xdgFolder("XDG_CACHE_HOME", QStringLiteral(".cache")) + QStringLiteral("glyvanta/");
    paths.systemFontsFolder = xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("fonts/");
    paths.programFolder = withTrailingSlash(programFolder);
    // Installed next to the binary's share folder, or the source tree's resources when run from a build.
    const QStringList candidates = {
        paths.programFolder + QStringLiteral("../share/glyvanta/"),
        paths.programFolder + QStringLiteral("resources/"),
        QStringLiteral(GLYVANTA_SOURCE_RESOURCES "/"),
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate + QStringLiteral("favorites.ini")).isFile()) {
            paths.resourceFolder = QDir::cleanPath(candidate) + QLatin1Char('/');
            break;
        }
    }
    return paths;
}
