// SPDX-License-Identifier: MIT
#include "TFormNewItem.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormNewItem::TFormNewItem(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormNewItem"));
    setWindowTitle(QStringLiteral("New"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
