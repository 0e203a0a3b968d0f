// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

// What the install dialog answers: the file, and whether it stays where it is (0), is copied (1)
// or moved (2) into the fonts folder, and whether a copy may replace a file there.
struct InstallChoice {
    QString filePath;
    int installType = 1;
    bool overwrite = false;
};

// The install dialog as the installer drives it (TFormFontInstall).
class InstallDialog {
public:
    virtual ~InstallDialog() = default;
    // Shows the dialog for a file, its type choice enabled or not. OK hands the choice to accept,
    // whose result (OK or Abort) closes the dialog. Returns the dialog's result.
    virtual int askInstall(const QString &path, bool allowChoice, const std::function<int(const InstallChoice &)> &accept) = 0;
};
