// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Go To": a character code or a character for the character map.
class TFormGoTo : public QDialog {
    Q_OBJECT
public:
    explicit TFormGoTo(QWidget *parent = nullptr);

    QLabel *Label3;
    QLineEdit *GoTo;
    QRadioButton *GoToCode;
    QRadioButton *GoToSymbol;
    QPushButton *GoStart;
    QPushButton *Cancel;
};
