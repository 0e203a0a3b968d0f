// SPDX-License-Identifier: MIT
#pragma once

#include "Paths.h"
#include "QtPrinters.h"

#include <QString>

// Every test process runs in a temporary home: its own XDG folders and a fontconfig
// configuration that lists only the test fonts (DejaVu from fonts-dejavu-core, Windows fonts from
// fonts-wine) and the user's font folder, so the installed fonts are the same on every machine.
class TestEnvironment {
public:
    // Sets the environment; call before the application object exists.
    static void setUp();
    static TestEnvironment &instance();

    const QString &root() const { return m_root; }
    QString testFontsFolder() const { return m_root + QStringLiteral("/testfonts/"); }
    Paths paths() const;
    // Empties the configuration, cache and user font folders.
    void resetUserFiles() const;
    // A fresh empty folder below the root.
    QString makeFolder(const QString &name) const;

    static QString dejaVu(const QString &file) { return QStringLiteral("/usr/share/fonts/truetype/dejavu/") + file; }
    static QString wine(const QString &file) { return QStringLiteral("/usr/share/wine/fonts/") + file; }

private:
    QString m_root;
};
