// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "About Glyvanta ver. 2.4"
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);
};
