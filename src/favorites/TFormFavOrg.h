// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Organize Favorites"
class TFormFavOrg : public QDialog {
    Q_OBJECT
public:
    explicit TFormFavOrg(QWidget *parent = nullptr);
};
