// SPDX-License-Identifier: MIT
#pragma once

#include "FileTransfer.h"
#include "MainState.h"

#include <QObject>

#include <functional>

class FolderBrowser;
class QMenu;
class TOverwritePromt;

// Copy to, Move to, Delete and Properties on the previewed font file, the overwrite prompt,
// the folder list's popup and drag-and-drop onto a folder.
class FileOperations : public QObject {
public:
    FileOperations(MainState &state, MainServices &services, MainControls &controls, FolderBrowser &browser,
                   TOverwritePromt &prompt, QMenu &popup, QMenu &fileMenu);

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

    std::function<void()> releaseCurrentFont;

private:
    void reportFailure(const QString &what, const QString &source, const QString &target, const TransferResult &result);

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    FolderBrowser &m_browser;
    TOverwritePromt &m_prompt;
    QMenu &m_popup;
    QMenu &m_fileMenu;
};
