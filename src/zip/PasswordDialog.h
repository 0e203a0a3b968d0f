// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// The component's password prompt: a hidden field of at most 80 characters and a row of
// 114 by 28 pixel buttons, the n-th at 20 + 124 n pixels from the left.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    enum Result { Ok = 1, CancelOne = 2, CancelAll = 3, Abort = 4 };

    PasswordDialog(const QString &caption, const QString &prompt, const QStringList &buttonCaptions, QWidget *parent = nullptr);
    QString password() const;

    QLabel *Prompt;
    QLineEdit *Field;
    QList<QPushButton *> Buttons;
};
