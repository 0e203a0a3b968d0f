// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Organize Links"
class TFormLinksOrg : public QDialog {
    Q_OBJECT
public:
    explicit TFormLinksOrg(QWidget *parent = nullptr);
};
