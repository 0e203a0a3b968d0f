// SPDX-License-Identifier: MIT
#include "TFormConfig.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormConfig::TFormConfig(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormConfig"));
    setWindowTitle(QStringLiteral("Options"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
