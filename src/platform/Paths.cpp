// SPDX-License-Identifier: MIT
#include "Paths.h"

#include "AtomicFile.h"
#include "NativeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

// The resources live in a static library: naming their initialiser here registers them and
// keeps the linker from dropping them. The macro declares a global function, so this cannot
// stand in a namespace.
static bool registerBundledResources()
{
    Q_INIT_RESOURCE(glyvanta);
    return true;
}

namespace {

QString standardFolder(QStandardPaths::StandardLocation location, const QString &fallbackBelowHome)
{
    const QString folder = QStandardPaths::writableLocation(location);
    // The XDG rules ignore relative paths.
    if (!folder.isEmpty() && QDir::isAbsolutePath(folder))
        return withTrailingSlash(folder);
    return withTrailingSlash(QDir::homePath() + QLatin1Char('/') + fallbackBelowHome);
}

std::optional<QByteArray> readBundled(const QString &name)
{
    QFile file(bundledResource(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

}

QString withTrailingSlash(const QString &folder)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString bundledResource(const QString &name)
{
    static const bool registered = registerBundledResources();
    Q_UNUSED(registered);
    return QStringLiteral(":/glyvanta/") + name;
}

Paths Paths::fromEnvironment(const QString &programFolder)
{
    Paths paths;
    paths.configFolder = standardFolder(QStandardPaths::GenericConfigLocation, QStringLiteral(".config")) + QStringLiteral("glyvanta/");
    paths.cacheFolder = standardFolder(QStandardPaths::GenericCacheLocation, QStringLiteral(".cache")) + QStringLiteral("glyvanta/");
    paths.systemFontsFolder = standardFolder(QStandardPaths::GenericDataLocation, QStringLiteral(".local/share")) + QStringLiteral("fonts/");
    paths.programFolder = withTrailingSlash(programFolder);
    paths.resourceFolder = bundledResource(QString());
    return paths;
}

bool Paths::installDefaultFavorites() const
{
    const QString target = favoritesIni();
    // Whatever stands there, even a dangling link, is the user's.
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink())
        return true;
    const std::optional<QByteArray> content = readBundled(QStringLiteral("favorites.ini"));
    if (!content || !writeFileAtomically(target, *content))
        return false;
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

QString Paths::helpPage() const
{
    const QString target = cacheFolder + QStringLiteral("help.html");
    const std::optional<QByteArray> content = readBundled(QStringLiteral("help.html"));
    if (!content)
        return target;
    // One byte over the expected size is enough to tell a longer file apart.
    if (readRegularFile(target, content->size() + 1) != content)
        writeFileAtomically(target, *content);
    return target;
}
