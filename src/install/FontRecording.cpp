// SPDX-License-Identifier: MIT
#include "FontRecording.h"

#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "FontPlacement.h"
#include "FontsRegistry.h"
#include "NativeFile.h"
#include "Prompter.h"

#include <QDir>

int recordFontInstall(FontsRegistry &fontsKey, const QString &fontsRegistryKey, const QString &systemFontsFolder,
                      const QString &faceName, int extensionFilter, const InstallChoice &choice, bool choiceAllowed)
{
    const QString &filePath = choice.filePath;
    const QString fileName = filePath.mid(filePath.lastIndexOf(QLatin1Char('/')) + 1);
    const QString name = faceName + fontsKeySuffix(fileExtension(fileName), extensionFilter);
    if (!fontsKey.keyExists(fontsRegistryKey))
        return ModalResult::Abort;

    // Only a font is installed: the file is opened without blocking, must be a regular file that
    // FreeType reads as a font, and the bytes checked are the bytes copied.
    RegularFile source(filePath);
    const std::optional<QByteArray> content = source.readAll(FontCatalogue::kFontFileLimit);
    if (!content || !FontCatalogue::isFontData(*content))
        return ModalResult::Abort;

    // An archive entry is a temporary copy that goes when the program closes: left where it is,
    // or moved, it would be lost, so it is always copied, whatever the disabled group shows.
    const int installType = choiceAllowed ? choice.installType : 1;
    QString data = filePath;
    if (installType == 1 || installType == 2) {
        data = fileName;
        if (data.isEmpty())
            return ModalResult::Abort;
        // A copy replaces a file of the same name only when the box says so; a move never does.
        // When the file cannot be put there, nothing is recorded.
        QDir().mkpath(systemFontsFolder);
        const QString target = systemFontsFolder + data;
        const bool placed = installType == 1 ? placeFontCopy(*content, target, choice.overwrite) : moveFontFile(filePath, target, *content);
        if (!placed)
            return ModalResult::Abort;
    }
    if (!fontsKey.writeString(name, data))
        return ModalResult::Abort;
    return ModalResult::Ok;
}

UninstallOutcome uninstallFont(Prompter &prompter, FontCatalogue &catalogue, FontsRegistry &fontsKey, const QString &fontsRegistryKey,
                               const InstalledFontEntry &entry, const std::function<void()> &withdrawFace)
{
    UninstallOutcome outcome;
    // What the value names: a bare file in the fonts folder, or the link an install placed there
    // for a full path. A full path with no such link (a font of the system's) names nothing here.
    const std::optional<QString> file = fontsKey.fileNamedBy(entry.fileCell);
    // A font that fontconfig serves from outside the user's fonts folder is the system's: the
    // program cannot take it away, and saying it was "installed incorrectly" would be wrong.
    if (!file && entry.fileCell.startsWith(QLatin1Char('/'))) {
        prompter.message(systemFontText(entry.fileCell), MessageIcon::Information);
        outcome.result = UninstallOutcome::SystemFont;
        return outcome;
    }
    if (prompter.message(QStringLiteral("Are you really want to uninstall this font"), MessageIcon::Confirmation, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return outcome;
    if (withdrawFace)
        withdrawFace();
    if (file)
        catalogue.removeTemporary(*file);
    outcome.fileRemoved = file && removeFontFile(*file);
    if (!outcome.fileRemoved)
        prompter.message(QStringLiteral("This font are installed incorrectly. It may be not uninstalled."), MessageIcon::Confirmation);
    else
        // fontconfig forgets the file at once, so the list read next no longer shows it.
        catalogue.rescan(fontsKey.systemFontsFolder());
    if (!fontsKey.keyExists(fontsRegistryKey)) {
        outcome.result = UninstallOutcome::KeyMissing;
        return outcome;
    }
    const QString valueName = entry.caption + QStringLiteral(" (") + entry.type + QLatin1Char(')');
    fontsKey.deleteValue(valueName);
    // The font is gone only when its value is.
    outcome.result = fontsKey.readString(valueName) ? UninstallOutcome::ValueKept : UninstallOutcome::Removed;
    return outcome;
}

QString systemFontText(const QString &file)
{
    return QStringLiteral("%1 is a system font. System fonts are managed by the system and cannot be uninstalled here.").arg(file);
}
