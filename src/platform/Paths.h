// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the program keeps and finds its files. Folders always end in "/".
struct Paths {
    QString configFolder;       // $XDG_CONFIG_HOME/glyvanta/
    QString cacheFolder;        // $XDG_CACHE_HOME/glyvanta/
    QString systemFontsFolder;  // $XDG_DATA_HOME/fonts/
    QString programFolder;      // folder of the executable
    QString resourceFolder;     // the files compiled into the binary (default favorites.ini, help page), ":/glyvanta/"

    QString registryFile() const { return configFolder + QStringLiteral("registry.reg"); }
    QString favoritesIni() const { return configFolder + QStringLiteral("favorites.ini"); }

    // The XDG folders as the desktop's standard locations give them (relative values are ignored,
    // as the XDG rules say).
    static Paths fromEnvironment(const QString &programFolder);

    // The first run starts from the shipped favorites.ini, which carries the tips and some links:
    // it is written into the configuration folder when nothing is there under that name yet.
    // False when it could not be written.
    bool installDefaultFavorites() const;
    // The help page as a file that a browser can open: the copy in the binary is written to the
    // cache folder when that folder holds no copy or a different one (a cleaned cache, an older
    // program). The path is returned even when writing failed; the browser then says so.
    QString helpPage() const;
};

// Ends a folder path with exactly one "/".
QString withTrailingSlash(const QString &folder);

// The path of a file compiled into the binary, such as "icons/load.svg" or "favorites.ini".
QString bundledResource(const QString &name);
