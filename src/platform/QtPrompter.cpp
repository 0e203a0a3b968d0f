// SPDX-License-Identifier: MIT
#include "QtPrompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

MessageAnswer QtPrompter::showMessage(const MessageRequest &request)
{
    QMessageBox box(m_owner);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        const int answer = box.exec();
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<QString> QtPrompter::chooseFolder(const QString &title, const QString &start)
{
    const QString folder = QFileDialog::getExistingDirectory(m_owner, title, start);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> QtPrompter::askText(const QString &caption, const QString &label, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_owner, caption, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QColor> QtPrompter::chooseColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, m_owner);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QString> QtPrompter::openFile(const QString &filter, const QString &startFolder)
{
    const QString file = QFileDialog::getOpenFileName(m_owner, QString(), startFolder, qtFileFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> QtPrompter::saveFile(const QString &filter, const QString &defaultExtension)
{
    QFileDialog dialog(m_owner, QString(), QString(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

int QtPrompter::runDialog(QDialog &dialog)
{
    return dialog.exec();
}
