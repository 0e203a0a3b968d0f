// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

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

    // 0 after the font has been shown, 2 when the file cannot be added.
    int LoadFontFile(const QString &path);

private:
    void setFace(const QString &face);

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    InstalledFontsList &m_installed;
    CharacterMap &m_characterMap;
    ReportView &m_report;
};

// The face the second list adds to the first.
QString NewFaceName(const QStringList &before, const QStringList &after);
