// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Overwrite"
class TOverwritePromt : public QDialog {
    Q_OBJECT
public:
    explicit TOverwritePromt(QWidget *parent = nullptr);
};
