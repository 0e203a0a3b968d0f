// SPDX-License-Identifier: MIT
#include "TFormFontInstall.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormFontInstall::TFormFontInstall(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFontInstall"));
    setWindowTitle(QStringLiteral("Font installation"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
