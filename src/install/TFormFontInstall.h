// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Font installation"
class TFormFontInstall : public QDialog {
    Q_OBJECT
public:
    explicit TFormFontInstall(QWidget *parent = nullptr);
};
