// SPDX-License-Identifier: MIT
// The window's part in the formats of a Linux machine: files dropped from a file manager, and the
// installed-fonts list that follows installs and uninstalls by itself.
#include "TFormPreview.h"

#include "ArchiveBrowser.h"
#include "FolderBrowser.h"
#include "FontDrop.h"
#include "FontLoader.h"
#include "InstalledFontsList.h"
#include "Installer.h"
#include "Paths.h"
#include "Prompter.h"

#include <QFileInfo>
#include <QSignalBlocker>

void TFormPreview::connectFormats()
{
    connect(m_installer.get(), &Installer::installedFontsChanged, this, [this] { refreshInstalledQuietly(); });
    auto *drop = new FontDropTarget(*this);
    connect(drop, &FontDropTarget::previewRequested, this, [this](const QString &path) { guarded([&] { loadFontFromPath(path); }); });
    connect(drop, &FontDropTarget::archiveRequested, this, [this](const QString &path) { guarded([&] { openDroppedArchive(path); }); });
    connect(drop, &FontDropTarget::installRequested, this, [this](const QStringList &paths) { guarded([&] { installDroppedFonts(paths); }); });
}

void TFormPreview::refreshInstalledQuietly()
{
    // Read again as Refresh reads it, but the views keep what they show: no row is selected and the
    // sample keeps its face.
    const QSignalBlocker blocker(m_installedFonts.get());
    m_installedFonts->InstalledFontFiles.clear();
    m_installedFonts->BuildInstalledFontFiles();
    m_installedFonts->FillInstalledFontsList();
}

void TFormPreview::openDroppedArchive(const QString &path)
{
    m_folderBrowser->ListFolder(withTrailingSlash(QFileInfo(path).absolutePath()));
    m_archiveBrowser->OpenArchive(path);
}

void TFormPreview::installDroppedFonts(const QStringList &paths)
{
    Prompter &prompter = m_services.prompter;
    if (prompter.message(QStringLiteral("Install the %1 dropped font files?").arg(paths.size()), MessageIcon::Confirmation, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    // Each file is shown before its install dialog, so that the dialog names the face the user sees.
    int installed = 0;
    for (const QString &path : paths) {
        m_folderBrowser->ListFolder(withTrailingSlash(QFileInfo(path).absolutePath()));
        ReleaseCurrentFont();
        if (previewFontFile(path) != 0)
            continue;
        const int result = m_installer->InstallFontFile(path, true);
        if (result == ModalResult::Ok)
            ++installed;
        else if (result == ModalResult::Abort)
            prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
    }
    prompter.message(QStringLiteral("%1 of %2 dropped font files have been installed.").arg(installed).arg(paths.size()), MessageIcon::Information);
}
