// SPDX-License-Identifier: MIT
#pragma once

#include "OverwriteQuestion.h"

#include <QDialog>

class Prompter;
class QLabel;
class QPushButton;

// "Overwrite": asked when a copy, move or unpack finds its target taken. Results: 5 Overwrite,
// 3 Skip, 4 Rename.
class TOverwritePromt : public QDialog, public OverwriteQuestion {
    Q_OBJECT
public:
    explicit TOverwritePromt(Prompter &prompter, QWidget *parent = nullptr);

    // Shows the prompt modally for the two files.
    int AskOverwrite(const QString &existing, const QString &incoming) override;

    // Fills the labels: the existing file first, the incoming one second.
    void setFiles(const QString &existing, const QString &incoming);

    QLabel *FileFrom;
    QLabel *InfoFrom;
    QLabel *FileTo;
    QLabel *InfoTo;
    QPushButton *Overwrite;
    QPushButton *Skip;
    QPushButton *Rename;

private:
    Prompter &m_prompter;
};
