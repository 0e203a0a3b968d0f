// SPDX-License-Identifier: MIT
#include "Installer.h"

#include "CurrentFont.h"
#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "FontPlacement.h"
#include "FontRecording.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "NativeFile.h"
#include "Prompter.h"

#include <QDir>

Installer::Installer(Prompter &prompter, FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey,
                     QString systemFontsFolder, CurrentFontRecord &currentFont, InstallDialog &dialog, InstallContext &context,
                     ListView &fontsList)
    : m_prompter(prompter)
    , m_catalogue(catalogue)
    , m_fontsKey(fontsKey)
    , m_fontsRegistryKey(std::move(fontsRegistryKey))
    , m_systemFontsFolder(std::move(systemFontsFolder))
    , m_currentFont(currentFont)
    , m_dialog(dialog)
    , m_context(context)
    , m_fontsList(fontsList)
{
}

int Installer::InstallFontFile(const QString &path, bool allowChoice)
{
    if (!fontFileExists(path))
        return 2;
    m_choiceAllowed = allowChoice;
    return m_dialog.askInstall(path, allowChoice, [this](const InstallChoice &choice) { return OKClick(choice); });
}

int Installer::OKClick(const InstallChoice &choice)
{
    const int result = recordFontInstall(m_fontsKey, m_fontsRegistryKey, m_systemFontsFolder, m_context.shownFaceName(),
                                         m_context.extensionFilter(), choice, m_choiceAllowed);
    if (result == ModalResult::Ok)
        emit installedFontsChanged();
    return result;
}

void Installer::Install1Click()
{
    const std::optional<InstallContext::Candidate> candidate = m_context.installCandidate();
    if (!candidate)
        return;
    const int result = InstallFontFile(candidate->path, candidate->allowChoice);
    if (result == ModalResult::Ok) {
        m_prompter.message(QStringLiteral("The font have been installed succesfully."), MessageIcon::Information);
        m_currentFont.KeepFontResource = true;
    } else if (result == ModalResult::Abort) {
        m_prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
    }
}

void Installer::installFromCommandLine(const QString &path)
{
    const int result = InstallFontFile(path, true);
    if (result == ModalResult::Ok)
        m_prompter.message(QStringLiteral("The font have been installed succesfully. It will be allowed in system after restarting."),
                           MessageIcon::Information);
    else if (result == ModalResult::Abort)
        m_prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
}

void Installer::Uninstall1Click()
{
    ListView *list = &m_fontsList;
    const int row = list->selectedRow();
    if (row < 0)
        return;
    const ListView::Item item = list->item(row);
    const InstalledFontEntry entry{item.caption, item.subItems.value(FontsListColumn::Type), item.subItems.value(FontsListColumn::FileName)};
    // The row goes only when the font is really gone.
    const UninstallOutcome outcome = uninstallFont(m_prompter, m_catalogue, m_fontsKey, m_fontsRegistryKey, entry, [this] { emit faceWithdrawn(); });
    if (outcome.fileRemoved)
        emit installedFontsChanged();
    if (outcome.result != UninstallOutcome::Removed)
        return;
    list->removeItem(row);
    emit statusText(1, QStringLiteral("Default font"));
    emit statusText(2, QString());
    emit statusText(3, QString());
}
