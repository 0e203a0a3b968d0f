// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Tip of the Day"
class TFormTip : public QDialog {
    Q_OBJECT
public:
    explicit TFormTip(QWidget *parent = nullptr);
};
