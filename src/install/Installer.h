// SPDX-License-Identifier: MIT
#pragma once

#include "InstallDialog.h"

#include <QObject>

#include <optional>

class FontCatalogue;
class FontsRegistry;
class ListView;
class Prompter;
struct CurrentFontRecord;

// What the installer asks of the window about the font on show.
class InstallContext {
public:
    virtual ~InstallContext() = default;
    struct Candidate {
        QString path;
        bool allowChoice = true;   // false for an archive entry's extracted copy: only a copy will do
    };
    // The file the shown view offers for install: the selected font file of the folder list, or
    // the archive entry extracted for the preview; nothing in the Fonts view.
    virtual std::optional<Candidate> installCandidate() const = 0;
    // The face name the sample is shown in, which names the font under the Fonts key.
    virtual QString shownFaceName() const = 0;
    // The extension filter's choice, which tells TrueType from raster.
    virtual int extensionFilter() const = 0;
};

// Installs the previewed font file and uninstalls an installed font.
class Installer : public QObject {
    Q_OBJECT
public:
    Installer(Prompter &prompter, FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey, QString systemFontsFolder,
              CurrentFontRecord &currentFont, InstallDialog &dialog, InstallContext &context, ListView &fontsList);

    // 2 when no file exists at the path, else the dialog's result (OK 1, Cancel 2, Abort 3).
    int InstallFontFile(const QString &path, bool allowChoice);
    // The dialog's OK: records the font; OK, or Abort when nothing could be recorded (the key
    // cannot be opened, the file is no font, or it cannot be put into the fonts folder).
    int OKClick(const InstallChoice &choice);
    void Install1Click();
    void Uninstall1Click();
    // The "install" word of the command line, after the font was loaded.
    void installFromCommandLine(const QString &path);

signals:
    // The font of the selected row is being uninstalled: no view may keep showing it.
    void faceWithdrawn();
    void statusText(int panel, const QString &text);
    // A font was installed: fontconfig has rescanned the fonts folder, and the installed-fonts
    // list is to be read again. (An uninstall takes its row away itself.)
    void installedFontsChanged();

private:
    Prompter &m_prompter;
    FontCatalogue &m_catalogue;
    FontsRegistry &m_fontsKey;
    QString m_fontsRegistryKey;
    QString m_systemFontsFolder;
    CurrentFontRecord &m_currentFont;
    InstallDialog &m_dialog;
    InstallContext &m_context;
    ListView &m_fontsList;
    // False while an archive entry is installed: then only a copy will do.
    bool m_choiceAllowed = true;
};
