// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "New"
class TFormNewItem : public QDialog {
    Q_OBJECT
public:
    explicit TFormNewItem(QWidget *parent = nullptr);
};
