// SPDX-License-Identifier: MIT
#include "TFormFavOrg.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormFavOrg::TFormFavOrg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFavOrg"));
    setWindowTitle(QStringLiteral("Organize Favorites"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
