// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"
#include "NativeFile.h"

#include <QStringList>

class CharacterMap;
class InstalledFontsList;
class ReportView;

// Makes a font file visible: adds it as a temporary font, finds its face name, points the
// previews at it and tells whether the face is installed.
class FontLoader {
public:
    FontLoader(MainState &state, MainServices &services, MainControls &controls, InstalledFontsList &installed,
               CharacterMap &characterMap, ReportView &report);

    // 0 after the font has been shown, 2 when the file cannot be added. A file that is refused
    // (a FIFO, a device, too large, unreadable) is named in an error message.
    int LoadFontFile(const QString &path);

private:
    void setFace(const QString &face);
    // Tells the user why the file was refused; false when it was not.
    bool refused(const QString &path, FileRefusal why);

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    InstalledFontsList &m_installed;
    CharacterMap &m_characterMap;
    ReportView &m_report;
};

// Why a font file could not be loaded, for the user; empty for a file that is simply missing.
QString fontFileRefusalText(const QString &path, FileRefusal why);

// The face the second list adds to the first.
QString NewFaceName(const QStringList &before, const QStringList &after);
