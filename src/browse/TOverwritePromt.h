// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "Overwrite": asked when a copy, move or unpack finds its target taken. Results: 5 Overwrite,
// 3 Skip, 4 Rename.
class TOverwritePromt : public QDialog {
    Q_OBJECT
public:
    explicit TOverwritePromt(QWidget *parent = nullptr);

    // Fills the labels: the existing file first, the incoming one second.
    void setFiles(const QString &existing, const QString &incoming);

    QLabel *FileFrom;
    QLabel *InfoFrom;
    QLabel *FileTo;
    QLabel *InfoTo;
    QPushButton *Overwrite;
    QPushButton *Skip;
    QPushButton *Rename;
};
