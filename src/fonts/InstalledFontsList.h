// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <QStringList>

// The installed-fonts list of the Fonts view and the installed-face list font loading uses.
class InstalledFontsList {
public:
    InstalledFontsList(MainState &state, MainServices &services, MainControls &controls);

    bool BuildInstalledFontFiles();
    void FillInstalledFontsList();
    void RefreshInstalledFontsList();
    void EnumerateFaceNames(QStringList &list);
    // The charset of a row's "Charset" cell, or with row -1 of the charset box's selection.
    int CharsetCodeOfSelection(int row) const;

private:
    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
};
