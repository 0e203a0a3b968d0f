// SPDX-License-Identifier: MIT
#pragma once

#include "CurrentFont.h"
#include "NativeFile.h"

#include <QStringList>

class FontCatalogue;
class InstalledFontsList;
class Prompter;

// A font file as loading found it, for the views to show.
struct LoadedFont {
    QString path;
    QString fileName;
    QString face;
    bool trueType = false;    // named by its naming table; the facts below are its own
    int lastChar = 255;
    int charset = 0;
    bool installed = false;   // this file, or a copy of it, is an installed font
};

// Makes a font file usable: reads its names into the current-font record, adds it as a
// temporary font and finds its face name. Showing it is the views' business.
class FontLoader {
public:
    FontLoader(Prompter &prompter, FontCatalogue &catalogue, InstalledFontsList &installed);

    // 0 when the font was loaded (see loaded()), 2 when the file cannot be added. A file that is
    // refused (a FIFO, a device, too large, unreadable) is named in an error message.
    int LoadFontFile(const QString &path);
    const LoadedFont &loaded() const { return m_loaded; }

    CurrentFontRecord CurrentFont;

private:
    // Tells the user why the file was refused; false when it was not.
    bool refused(const QString &path, FileRefusal why);

    Prompter &m_prompter;
    FontCatalogue &m_catalogue;
    InstalledFontsList &m_installed;
    LoadedFont m_loaded;
};

// Why a font file could not be loaded, for the user; empty for a file that is simply missing.
QString fontFileRefusalText(const QString &path, FileRefusal why);

// The face the second list adds to the first.
QString NewFaceName(const QStringList &before, const QStringList &after);
