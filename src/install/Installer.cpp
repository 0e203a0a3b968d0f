// SPDX-License-Identifier: MIT
#include "Installer.h"

#include "FaceFont.h"
#include "FolderListing.h"
#include "FontCatalogue.h"
#include "FontPlacement.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "NativeFile.h"
#include "Prompter.h"
#include "TFormFontInstall.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTableWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

Installer::Installer(MainState &state, MainServices &services, MainControls &controls, TFormFontInstall &dialog)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
    , m_dialog(dialog)
{
    m_dialog.onOk = [this] { return OKClick(); };
    m_dialog.onLoad = [this] {
        if (pickFontFile)
            pickFontFile();
    };
}

int Installer::InstallFontFile(const QString &path, bool allowChoice)
{
    if (!fontFileExists(path))
        return 2;
    m_choiceAllowed = allowChoice;
    m_dialog.InstallType->setEnabled(allowChoice);
    m_dialog.FilePath->setText(path);
    return m_services.prompter.runDialog(m_dialog);
}

int Installer::OKClick()
{
    const QString filePath = m_dialog.FilePath->text();
    const QString fileName = filePath.mid(filePath.lastIndexOf(QLatin1Char('/')) + 1);
    QString name = faceName(m_controls.Preview);
    const int type = FileTypeImage(fileExtension(fileName), m_controls.SelectExt->currentIndex());
    if (type == 2)
        name += QStringLiteral(" (TrueType)");
    else if (type == 3)
        name += QStringLiteral(" (VGA res)");
    FontsRegistry &key = m_services.fontsKey;
    if (!key.keyExists(m_state.FontsRegistryKey))
        return ModalResult::Abort;

    // Only a font is installed: the file is opened without blocking, must be a regular file that
    // FreeType reads as a font, and the bytes checked are the bytes copied.
    RegularFile source(filePath);
    const std::optional<QByteArray> content = source.readAll(FontCatalogue::kFontFileLimit);
    if (!content || !FontCatalogue::isFontData(*content))
        return ModalResult::Abort;

    // An archive entry is a temporary copy that goes when the program closes: left where it is,
    // or moved, it would be lost, so it is always copied, whatever the disabled group shows.
    const int installType = m_choiceAllowed ? m_dialog.installType() : 1;
    QString data = filePath;
    if (installType == 1 || installType == 2) {
        data = fileName;
        if (data.isEmpty())
            return ModalResult::Abort;
        // A copy replaces a file of the same name only when the box says so; a move never does.
        // When the file cannot be put there, nothing is recorded.
        QDir().mkpath(m_state.SystemFontsFolder);
        const QString target = m_state.SystemFontsFolder + data;
        const bool placed = installType == 1 ? placeFontCopy(*content, target, m_dialog.OverwriteInstalled->isChecked())
                                             : moveFontFile(filePath, target, *content);
        if (!placed)
            return ModalResult::Abort;
    }
    if (!key.writeString(name, data))
        return ModalResult::Abort;
    return ModalResult::Ok;
}

void Installer::Install1Click()
{
    int result = 2;
    if (!m_controls.FilesBrowse->collapsed()) {
        const ListView *list = m_controls.FilesBrowse;
        const int row = list->selectedRow();
        if (row < 0)
            return;
        const ListView::Item &item = list->item(row);
        result = InstallFontFile(m_state.CurrentFolder + (item.name.isEmpty() ? item.caption + item.subItems.value(0) : item.name), true);
    } else if (m_controls.FontsList->collapsed()) {
        if (!archiveEntryPath)
            return;
        result = InstallFontFile(archiveEntryPath(), false);
    } else {
        return;
    }
    if (result == ModalResult::Ok) {
        m_services.prompter.message(QStringLiteral("The font have been installed succesfully."), MessageIcon::Information);
        m_state.CurrentFont.KeepFontResource = true;
    } else if (result == ModalResult::Abort) {
        m_services.prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
    }
}

void Installer::installFromCommandLine(const QString &path)
{
    const int result = InstallFontFile(path, true);
    if (result == ModalResult::Ok)
        m_services.prompter.message(QStringLiteral("The font have been installed succesfully. It will be allowed in system after restarting."),
                                    MessageIcon::Information);
    else if (result == ModalResult::Abort)
        m_services.prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
}

void Installer::Uninstall1Click()
{
    ListView *list = m_controls.FontsList;
    const int row = list->selectedRow();
    if (row < 0)
        return;
    const ListView::Item item = list->item(row);
    // What the value names: a bare file in the fonts folder, or the link an install placed there
    // for a full path. A full path with no such link (a font of the system's) names nothing here.
    const std::optional<QString> file = m_services.fontsKey.fileNamedBy(item.subItems.value(FontsListColumn::FileName));
    if (m_services.prompter.message(QStringLiteral("Are you really want to uninstall this font"), MessageIcon::Confirmation,
                                    MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    for (QWidget *control : {static_cast<QWidget *>(m_controls.Preview), static_cast<QWidget *>(m_controls.CharactersPreview),
                             static_cast<QWidget *>(m_controls.SymbolPreview), static_cast<QWidget *>(m_controls.CopyBuff)})
        setFaceName(control, QStringLiteral("MS Sans Serif"), m_services.catalogue);
    if (file)
        m_services.catalogue.removeTemporary(*file);
    if (!file || !removeFontFile(*file))
        m_services.prompter.message(QStringLiteral("This font are installed incorrectly. It may be not uninstalled."), MessageIcon::Confirmation);
    FontsRegistry &key = m_services.fontsKey;
    if (!key.keyExists(m_state.FontsRegistryKey))
        return;
    const QString valueName = item.caption + QStringLiteral(" (") + item.subItems.value(FontsListColumn::Type) + QLatin1Char(')');
    key.deleteValue(valueName);
    // The row goes only when the font is really gone.
    if (key.readString(valueName))
        return;
    list->removeItem(row);
    m_controls.StatusPanels[1]->setText(QStringLiteral("Default font"));
    m_controls.StatusPanels[2]->setText(QString());
    m_controls.StatusPanels[3]->setText(QString());
}
