// SPDX-License-Identifier: MIT
#include "TOverwritePromt.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TOverwritePromt::TOverwritePromt(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TOverwritePromt"));
    setWindowTitle(QStringLiteral("Overwrite"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
