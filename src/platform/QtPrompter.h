// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"

class QWidget;

// The real dialogs of the desktop.
class QtPrompter final : public Prompter {
public:
    void setOwner(QWidget *owner) { m_owner = owner; }
    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &start) override;
    std::optional<QString> askText(const QString &caption, const QString &label, const QString &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> openFile(const QString &filter, const QString &startFolder) override;
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExtension) override;
    int runDialog(QDialog &dialog) override;

private:
    QWidget *m_owner = nullptr;
};
