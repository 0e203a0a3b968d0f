// SPDX-License-Identifier: MIT
#include "Installer.h"

#include "CurrentFont.h"
#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "FontPlacement.h"
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
    const QString &filePath = choice.filePath;
    const QString fileName = filePath.mid(filePath.lastIndexOf(QLatin1Char('/')) + 1);
    const QString name = m_context.shownFaceName() + fontsKeySuffix(fileExtension(fileName), m_context.extensionFilter());
    if (!m_fontsKey.keyExists(m_fontsRegistryKey))
        return ModalResult::Abort;

    // Only a font is installed: the file is opened without blocking, must be a regular file that
    // FreeType reads as a font, and the bytes checked are the bytes copied.
    RegularFile source(filePath);
    const std::optional<QByteArray> content = source.readAll(FontCatalogue::kFontFileLimit);
    if (!content || !FontCatalogue::isFontData(*content))
        return ModalResult::Abort;

    // An archive entry is a temporary copy that goes when the program closes: left where it is,
    // or moved, it would be lost, so it is always copied, whatever the disabled group shows.
    const int installType = m_choiceAllowed ? choice.installType : 1;
    QString data = filePath;
    if (installType == 1 || installType == 2) {
        data = fileName;
        if (data.isEmpty())
            return ModalResult::Abort;
        // A copy replaces a file of the same name only when the box says so; a move never does.
        // When the file cannot be put there, nothing is recorded.
        QDir().mkpath(m_systemFontsFolder);
        const QString target = m_systemFontsFolder + data;
        const bool placed = installType == 1 ? placeFontCopy(*content, target, choice.overwrite) : moveFontFile(filePath, target, *content);
        if (!placed)
            return ModalResult::Abort;
    }
    if (!m_fontsKey.writeString(name, data))
        return ModalResult::Abort;
    emit installedFontsChanged();
    return ModalResult::Ok;
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
    // What the value names: a bare file in the fonts folder, or the link an install placed there
    // for a full path. A full path with no such link (a font of the system's) names nothing here.
    const QString fileCell = item.subItems.value(FontsListColumn::FileName);
    const std::optional<QString> file = m_fontsKey.fileNamedBy(fileCell);
    // A font that fontconfig serves from outside the user's fonts folder is the system's: the
    // program cannot take it away, and saying it was "installed incorrectly" would be wrong.
    if (!file && fileCell.startsWith(QLatin1Char('/'))) {
        m_prompter.message(systemFontText(fileCell), MessageIcon::Information);
        return;
    }
    if (m_prompter.message(QStringLiteral("Are you really want to uninstall this font"), MessageIcon::Confirmation, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    emit faceWithdrawn();
    if (file)
        m_catalogue.removeTemporary(*file);
    if (!file || !removeFontFile(*file))
        m_prompter.message(QStringLiteral("This font are installed incorrectly. It may be not uninstalled."), MessageIcon::Confirmation);
    else {
        // fontconfig forgets the file at once, so the list read next no longer shows it.
        m_catalogue.rescan(m_systemFontsFolder);
        emit installedFontsChanged();
    }
    FontsRegistry &key = m_fontsKey;
    if (!key.keyExists(m_fontsRegistryKey))
        return;
    const QString valueName = item.caption + QStringLiteral(" (") + item.subItems.value(FontsListColumn::Type) + QLatin1Char(')');
    key.deleteValue(valueName);
    // The row goes only when the font is really gone.
    if (key.readString(valueName))
        return;
    list->removeItem(row);
    emit statusText(1, QStringLiteral("Default font"));
    emit statusText(2, QString());
    emit statusText(3, QString());
}

QString Installer::systemFontText(const QString &file)
{
    return QStringLiteral("%1 is a system font. System fonts are managed by the system and cannot be uninstalled here.").arg(file);
}
