// SPDX-License-Identifier: MIT
// The window's part in the formats of a Linux machine: files dropped from a file manager, and the
// installed-fonts list that follows installs and uninstalls by itself.
#include "TFormPreview.h"

#include "ArchiveBrowser.h"
#include "CharacterMap.h"
#include "FontCatalogue.h"
#include "FolderBrowser.h"
#include "FontDrop.h"
#include "FontLoader.h"
#include "InstalledFontsList.h"
#include "Installer.h"
#include "Paths.h"
#include "Prompter.h"

#include <QComboBox>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStatusBar>

void TFormPreview::connectFormats()
{
    // After an install or uninstall the list follows by itself; the views keep what they show.
    connect(m_installer.get(), &Installer::installedFontsChanged, m_installedFonts.get(), &InstalledFontsList::RereadInstalledFontsList);
    m_faceChooser = new QComboBox(this);
    m_faceChooser->setObjectName(QStringLiteral("SelectFace"));
    m_faceChooser->setStatusTip(QStringLiteral("The face of the collection to show"));
    m_faceChooser->setVisible(false);
    statusBar()->addPermanentWidget(m_faceChooser);
    connect(m_faceChooser, &QComboBox::activated, this, [this](int index) {
        guarded([&] {
            const QString path = m_fontLoader->loaded().path;
            ReleaseCurrentFont();
            previewFontFile(path, index);
            m_characterMap->CharactersPreviewClick();
        });
    });
    auto *drop = new FontDropTarget(*this);
    connect(drop, &FontDropTarget::previewRequested, this, [this](const QString &path) { guarded([&] { loadFontFromPath(path); }); });
    connect(drop, &FontDropTarget::archiveRequested, this, [this](const QString &path) { guarded([&] { openDroppedArchive(path); }); });
    connect(drop, &FontDropTarget::installRequested, this, [this](const QStringList &paths) { guarded([&] { installDroppedFonts(paths); }); });
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

void TFormPreview::updateFaceChooser()
{
    const LoadedFont &font = m_fontLoader->loaded();
    const bool collection = font.faceCount > 1 && m_services.catalogue.isTemporary(font.path);
    const QSignalBlocker blocker(m_faceChooser);
    m_faceChooser->clear();
    if (collection) {
        for (int i = 0; i < font.faceCount; ++i) {
            const FontFacts *facts = m_services.catalogue.temporaryFacts(font.path, i);
            m_faceChooser->addItem(QStringLiteral("Face %1 of %2: %3").arg(i + 1).arg(font.faceCount).arg(facts ? facts->fullName : QString()));
        }
        m_faceChooser->setCurrentIndex(font.faceIndex);
    }
    m_faceChooser->setVisible(collection);
}
