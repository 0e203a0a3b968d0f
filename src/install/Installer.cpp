// SPDX-License-Identifier: MIT
#include "Installer.h"

#include "FaceFont.h"
#include "FileTransfer.h"
#include "FolderListing.h"
#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "ListView.h"
#include "Prompter.h"
#include "TFormFontInstall.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTableWidget>
#include <QFileInfo>
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
    if (!QFileInfo(path).isFile())
        return 2;
    m_dialog.InstallType->setEnabled(allowChoice);
    m_dialog.FilePath->setText(path);
    return m_services.prompter.runDialog(m_dialog);
}

int Installer::OKClick()
{
    const QString filePath = m_dialog.FilePath->text();
    QString name = faceName(m_controls.Preview);
    const int type = FileTypeImage(fileExtension(QFileInfo(filePath).fileName()), m_controls.SelectExt->currentIndex());
    if (type == 2)
        name += QStringLiteral(" (TrueType)");
    else if (type == 3)
        name += QStringLiteral(" (VGA res)");
    FontsRegistry &key = m_services.fontsKey;
    if (!key.keyExists(m_state.FontsRegistryKey))
        return ModalResult::Abort;

    QString data = filePath;
    const int installType = m_dialog.installType();
    if (installType == 1 || installType == 2) {
        data = QFileInfo(filePath).fileName();
        // A copy replaces a file of the same name only when the box says so; a move never does.
        // When the file cannot be put there, nothing is recorded.
        const ReplaceExisting replace = installType == 1 && m_dialog.OverwriteInstalled->isChecked() ? ReplaceExisting::Yes : ReplaceExisting::No;
        QDir().mkpath(m_state.SystemFontsFolder);
        const TransferResult placed = transferFile(filePath, m_state.SystemFontsFolder + data,
                                                   installType == 1 ? TransferMode::Copy : TransferMode::Move, replace);
        if (!placed.ok)
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
    const QString file = m_state.SystemFontsFolder + item.subItems.value(FontsListColumn::FileName);
    if (m_services.prompter.message(QStringLiteral("Are you really want to uninstall this font"), MessageIcon::Confirmation,
                                    MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    for (QWidget *control : {static_cast<QWidget *>(m_controls.Preview), static_cast<QWidget *>(m_controls.CharactersPreview),
                             static_cast<QWidget *>(m_controls.SymbolPreview), static_cast<QWidget *>(m_controls.CopyBuff)})
        setFaceName(control, QStringLiteral("MS Sans Serif"), m_services.catalogue);
    m_services.catalogue.removeTemporary(file);
    if (!QFile::remove(file))
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
