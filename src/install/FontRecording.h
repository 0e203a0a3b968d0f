// SPDX-License-Identifier: MIT
#pragma once

#include "InstallDialog.h"

#include <QString>

#include <functional>

class FontCatalogue;
class FontsRegistry;
class Prompter;

// The work of installing and uninstalling, apart from the window's dialog and list, so that the
// command line does exactly what the window does.

// Records a font file under the Fonts key as the install dialog's choice says: left where it is,
// copied or moved into the fonts folder (always copied when the choice is not allowed, as for an
// archive entry's temporary copy). OK, or Abort when nothing could be recorded (the key cannot
// be opened, the file is no font, or it cannot be put into the fonts folder).
int recordFontInstall(FontsRegistry &fontsKey, const QString &fontsRegistryKey, const QString &systemFontsFolder,
                      const QString &faceName, int extensionFilter, const InstallChoice &choice, bool choiceAllowed);

// One row of the installed-fonts list as uninstalling needs it.
struct InstalledFontEntry {
    QString caption;
    QString type;       // the "Type" cell
    QString fileCell;   // the "File Name" cell: the Fonts value's data
};

struct UninstallOutcome {
    enum Result { Declined, SystemFont, KeyMissing, ValueKept, Removed };
    Result result = Declined;
    bool fileRemoved = false;
};

// Asks, withdraws the face from the views (withdrawFace), removes the file or link in the fonts
// folder and deletes the value; the messages are the window's.
UninstallOutcome uninstallFont(Prompter &prompter, FontCatalogue &catalogue, FontsRegistry &fontsKey, const QString &fontsRegistryKey,
                               const InstalledFontEntry &entry, const std::function<void()> &withdrawFace);

// What uninstalling a font outside the user's fonts folder says.
QString systemFontText(const QString &file);
