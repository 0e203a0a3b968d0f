// SPDX-License-Identifier: MIT
#include "FileOperations.h"

#include "CurrentFont.h"
#include "FolderBrowser.h"
#include "FolderListing.h"
#include "FontCatalogue.h"
#include "ListView.h"
#include "NativeFile.h"
#include "NativePaths.h"
#include "Paths.h"
#include "Prompter.h"
#include "OverwriteQuestion.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QMenu>

#include <cerrno>
#include <cstring>

#include <unistd.h>

FileOperations::FileOperations(Prompter &prompter, FontCatalogue &catalogue, CurrentFontRecord &currentFont, FolderBrowser &browser,
                               OverwriteQuestion &question, QMenu &popup, const FileMenuItems &fileMenu)
    : m_prompter(prompter)
    , m_catalogue(catalogue)
    , m_currentFont(currentFont)
    , m_browser(browser)
    , m_question(question)
    , m_popup(popup)
    , m_fileMenu(fileMenu)
{
}

int FileOperations::AskOverwrite(const QString &existing, const QString &incoming)
{
    const int result = m_question.AskOverwrite(existing, incoming);
    return result == 4 || result == 5 ? result : 3;
}

std::optional<QString> FileOperations::ChooseTargetFolder(const QString &title)
{
    const auto folder = m_prompter.chooseFolder(title, QString());
    if (!folder || !isDirectory(*folder))
        return std::nullopt;
    return folder;
}

void FileOperations::reportFailure(const QString &what, const QString &source, const QString &target, const TransferResult &result)
{
    // Failures are told: a user must never believe a file went where it did not.
    m_prompter.message(QStringLiteral("Could not %1 %2 to %3: %4").arg(what, displayPath(source), displayPath(target), result.error),
                                MessageIcon::Error);
}

bool FileOperations::deliver(const QString &source, const QString &folder, const QString &name, TransferMode mode)
{
    const QString base = withTrailingSlash(folder);
    const QString target = base + name;
    const QString what = mode == TransferMode::Copy ? QStringLiteral("copy") : QStringLiteral("move");
    TransferResult result;
    QString finalTarget = target;
    if (!pathExists(target)) {
        result = transferFile(source, target, mode, ReplaceExisting::No);
    } else {
        switch (AskOverwrite(target, source)) {
        case 5:
            result = transferFile(source, target, mode, ReplaceExisting::Yes);
            break;
        case 4: {
            const auto newName = m_prompter.askText(QStringLiteral("Rename"), QStringLiteral("New name:"), name);
            if (!newName)
                return false;
            finalTarget = base + *newName;
            if (pathExists(finalTarget))
                return false;
            result = transferFile(source, finalTarget, mode, ReplaceExisting::No);
            break;
        }
        default:
            return false;
        }
    }
    if (!result.ok)
        reportFailure(what, source, finalTarget, result);
    return result.ok;
}

void FileOperations::PopCopyToClick()
{
    const QString file = m_currentFont.FontFilePath;
    if (file.isEmpty())
        return;
    if (const auto folder = ChooseTargetFolder(QStringLiteral("Copy to...")))
        deliver(file, *folder, fileNameOf(file), TransferMode::Copy);
}

void FileOperations::PopMoveToClick()
{
    const QString file = m_currentFont.FontFilePath;
    if (file.isEmpty())
        return;
    if (const auto folder = ChooseTargetFolder(QStringLiteral("Move to...")))
        deliver(file, *folder, fileNameOf(file), TransferMode::Move);
}

void FileOperations::PopDeleteClick()
{
    const QString file = m_currentFont.FontFilePath;
    if (file.isEmpty())
        return;
    if (m_prompter.message(QStringLiteral("Do you really want to delete the selected file ") + displayPath(fileNameOf(file)),
                                    MessageIcon::Confirmation, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    releaseFontRecord(m_currentFont, m_catalogue);
    const QByteArray native = nativePath(file);
    if (::unlink(native.constData()) != 0) {
        const int error = errno;
        m_prompter.message(QStringLiteral("Could not delete %1: %2").arg(displayPath(file), QString::fromLocal8Bit(std::strerror(error))),
                                    MessageIcon::Error);
    }
    m_browser.Refresh1Click();
}

void FileOperations::PopFilePropertiesClick()
{
    const QString file = m_currentFont.FontFilePath;
    if (file.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusInterface manager(QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
                               QStringLiteral("org.freedesktop.FileManager1"), bus);
        if (manager.isValid()) {
            // The URL from the name's own bytes: one that is not UTF-8 would otherwise name another file.
            const QString url = QString::fromLatin1("file://" + nativePath(file).toPercentEncoding("/"));
            const QDBusMessage reply = manager.call(QStringLiteral("ShowItemProperties"), QStringList{url}, QString());
            if (reply.type() != QDBusMessage::ErrorMessage)
                return;
        }
    }
    // No file manager answered: the program's own account of the file.
    const std::optional<PathInfo> info = pathInfo(file);
    if (!info) {
        const int error = errno;
        m_prompter.message(
            QStringLiteral("Could not read the properties of %1: %2").arg(displayPath(file), QString::fromLocal8Bit(std::strerror(error))),
            MessageIcon::Error);
        return;
    }
    QString folder = folderOf(file);
    if (folder.size() > 1)
        folder.chop(1);
    m_prompter.message(QStringLiteral("Name: %1\nFolder: %2\nSize: %3Byte\nModified: %4\nPermissions: %5%6")
                                    .arg(displayPath(fileNameOf(file)), displayPath(folder), FormatByteCount(info->size),
                                         info->lastWrite.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                         info->writable ? QStringLiteral("read and write") : QStringLiteral("read only"),
                                         info->symLink ? QStringLiteral("\nLink to: ") + displayPath(info->linkTarget) : QString()),
                                MessageIcon::Information);
}

void FileOperations::PopupFilesBrowsePopup()
{
    const ListView *list = m_browser.controls().FilesBrowse;
    const int row = list->selectedRow();
    const bool show = !list->collapsed() && row >= 0 && list->item(row).subItems.value(0) != QLatin1String(" ");
    for (QAction *item : m_popup.actions())
        item->setVisible(show);
}

void FileOperations::File1Click()
{
    const bool archive = m_browser.activeView() == 2;
    for (QAction *item : {m_fileMenu.Unpack, m_fileMenu.UnpackHere, m_fileMenu.N17})
        item->setVisible(archive);
    for (QAction *item : {m_fileMenu.CopyTo, m_fileMenu.MoveTo, m_fileMenu.N15, m_fileMenu.FileProperties, m_fileMenu.Delete, m_fileMenu.N1})
        item->setVisible(!archive);
}

void FileOperations::FilesBrowseDragDrop(int sourceRow, int targetRow)
{
    ListView *list = m_browser.controls().FilesBrowse;
    if (sourceRow < 0 || targetRow < 0 || sourceRow == targetRow || sourceRow >= list->count() || targetRow >= list->count())
        return;
    const ListView::Item source = list->item(sourceRow);
    const ListView::Item target = list->item(targetRow);
    if (target.data != ItemKind::Folder || source.data <= ItemKind::Parent)
        return;
    const QString name = source.name.isEmpty() ? source.caption : source.name;
    const QString targetName = target.name.isEmpty() ? target.caption : target.name;
    const QString from = m_browser.CurrentFolder + name;
    const QString to = m_browser.CurrentFolder + targetName + QLatin1Char('/') + name;
    list->beginUpdate();
    const TransferResult result = transferFile(from, to, TransferMode::Move, ReplaceExisting::No);
    list->endUpdate();
    if (!result.ok)
        reportFailure(QStringLiteral("move"), from, to, result);
    m_browser.ListFolder(m_browser.CurrentFolder);
}
