// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Options"
class TFormConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfig(QWidget *parent = nullptr);
};
