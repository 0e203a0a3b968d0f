// SPDX-License-Identifier: MIT
#pragma once

#include "FileTransfer.h"

#include <QObject>

#include <optional>

class FolderBrowser;
class FontCatalogue;
class OverwriteQuestion;
class Prompter;
class QAction;
class QMenu;
struct CurrentFontRecord;

// The File menu's items that are shown only in some views.
struct FileMenuItems {
    QAction *Unpack = nullptr;
    QAction *UnpackHere = nullptr;
    QAction *N17 = nullptr;
    QAction *CopyTo = nullptr;
    QAction *MoveTo = nullptr;
    QAction *N15 = nullptr;
    QAction *FileProperties = nullptr;
    QAction *Delete = nullptr;
    QAction *N1 = nullptr;
};

// Copy to, Move to, Delete and Properties on the previewed font file, the overwrite prompt,
// the folder list's popup and drag-and-drop onto a folder.
class FileOperations : public QObject {
    Q_OBJECT
public:
    FileOperations(Prompter &prompter, FontCatalogue &catalogue, CurrentFontRecord &currentFont, FolderBrowser &browser,
                   OverwriteQuestion &question, QMenu &popup, const FileMenuItems &fileMenu);

    int AskOverwrite(const QString &existing, const QString &incoming);
    // Delivers a file into a folder under a name, asking before anything is replaced. True when
    // the file arrived.
    bool deliver(const QString &source, const QString &folder, const QString &name, TransferMode mode);
    std::optional<QString> ChooseTargetFolder(const QString &title);

    void PopCopyToClick();
    void PopMoveToClick();
    void PopDeleteClick();
    void PopFilePropertiesClick();
    void PopupFilesBrowsePopup();
    void File1Click();
    void FilesBrowseDragDrop(int sourceRow, int targetRow);

private:
    void reportFailure(const QString &what, const QString &source, const QString &target, const TransferResult &result);

    Prompter &m_prompter;
    FontCatalogue &m_catalogue;
    CurrentFontRecord &m_currentFont;
    FolderBrowser &m_browser;
    OverwriteQuestion &m_question;
    QMenu &m_popup;
    FileMenuItems m_fileMenu;
};
