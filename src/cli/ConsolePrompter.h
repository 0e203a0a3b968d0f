// SPDX-License-Identifier: MIT
#pragma once

#include "Prompter.h"

#include <QString>

class QTextStream;

// The prompter of the command line: every message the window would show in a box is printed to
// the error stream as "glyvanta: SUBJECT: TEXT", the subject being the file or font at work.
// Answers are fixed, so that a script never waits: a Yes/No question is answered Yes (the
// command itself is the user's yes; the question is printed with "-> Yes"), a message box is
// answered OK, and file, folder, text and colour prompts and the program's own dialogs are
// cancelled.
class ConsolePrompter : public Prompter {
public:
    explicit ConsolePrompter(QTextStream &err);

    void setSubject(const QString &subject) { m_subject = subject; }

    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &start) override;
    std::optional<QString> askText(const QString &caption, const QString &label, const QString &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> openFile(const QString &filter, const QString &startFolder) override;
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExtension) override;
    int runDialog(QDialog &dialog) override;

    // "glyvanta: SUBJECT: TEXT" (without the subject when there is none).
    void print(const QString &text);

private:
    QTextStream &m_err;
    QString m_subject;
};
