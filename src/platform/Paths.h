// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the program keeps and finds its files. Folders always end in "/".
struct Paths {
    QString configFolder;       // $XDG_CONFIG_HOME/glyvanta/
    QString cacheFolder;        // $XDG_CACHE_HOME/glyvanta/
    QString systemFontsFolder;  // $XDG_DATA_HOME/fonts/
    QString programFolder;      // folder of the executable
    QString resourceFolder;     // shipped resources (default favorites.ini, help page)

    QString registryFile() const { return configFolder + QStringLiteral("registry.reg"); }
    QString favoritesIni() const { return configFolder + QStringLiteral("favorites.ini"); }

    // Reads the XDG variables (falling back to the usual folders under $HOME).
    static Paths fromEnvironment(const QString &programFolder);
};

// Ends a folder path with exactly one "/".
QString withTrailingSlash(const QString &folder);
