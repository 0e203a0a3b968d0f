// SPDX-License-Identifier: MIT
#pragma once

#include "CurrentFont.h"
#include "FontFileTypes.h"
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
    int faceIndex = 0;        // the face shown, of a collection's faceCount
    int faceCount = 1;
    QByteArray unpacked;      // while loading: a web font's sfnt, unpacked once
};

// Makes a font file usable: reads its names into the current-font record, adds it as a
// temporary font and finds its face name. Showing it is the views' business.
class FontLoader {
public:
    FontLoader(Prompter &prompter, FontCatalogue &catalogue, InstalledFontsList &installed);

    // 0 when the font was loaded (see loaded()), 2 when the file cannot be added. A file that is
    // refused (a FIFO, a device, too large, unreadable) or that is no font the program can show
    // is named in an error message. faceIndex picks the face of a collection.
    int LoadFontFile(const QString &path, int faceIndex = 0);
    const LoadedFont &loaded() const { return m_loaded; }

    CurrentFontRecord CurrentFont;

private:
    // Tells the user why the file was refused; false when it was not.
    bool refused(const QString &path, FileRefusal why);
    // Reads the names of a file with a naming table into CurrentFont; false (told) when the
    // file is refused or a web font cannot be unpacked.
    bool readNames(LoadedFont &font, FontFileKind kind);
    // Adds the file as a temporary font; false (told) when it cannot be added.
    bool addFont(const QString &path, const QByteArray &unpacked = QByteArray());
    // The face of a file without a naming table: its family when the system has no such family,
    // else the one the installed list names for its file, else the one FreeType reads from it.
    QString facelessName(const LoadedFont &font);

    Prompter &m_prompter;
    FontCatalogue &m_catalogue;
    InstalledFontsList &m_installed;
    LoadedFont m_loaded;
};

// Why a font file could not be loaded, for the user; empty for a file that is simply missing.
QString fontFileRefusalText(const QString &path, FileRefusal why);
// The message for a file that was read but holds no font the program can show.
QString notAFontText(const QString &path);
// The message for a collection that has no face of the index asked for.
QString noSuchFaceText(const QString &path, int faceIndex, int faceCount);

// The face the second list adds to the first.
QString NewFaceName(const QStringList &before, const QStringList &after);
