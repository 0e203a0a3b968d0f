// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <functional>

class TFormFontInstall;

// Installs the previewed font file and uninstalls an installed font.
class Installer {
public:
    Installer(MainState &state, MainServices &services, MainControls &controls, TFormFontInstall &dialog);

    // 2 when no file exists at the path, else the dialog's result (OK 1, Cancel 2, Abort 3).
    int InstallFontFile(const QString &path, bool allowChoice);
    // The dialog's OK: records the font; OK, or Abort when nothing could be recorded (the key
    // cannot be opened, the file is no font, or it cannot be put into the fonts folder).
    int OKClick();
    void Install1Click();
    void Uninstall1Click();
    // The "install" word of the command line, after the font was loaded.
    void installFromCommandLine(const QString &path);

    // The file the archive view extracted for preview (set by the archive browser).
    std::function<QString()> archiveEntryPath;
    std::function<void()> pickFontFile;

private:
    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    TFormFontInstall &m_dialog;
    // False while an archive entry is installed: then only a copy will do.
    bool m_choiceAllowed = true;
};
