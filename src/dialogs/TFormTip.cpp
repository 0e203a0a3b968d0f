// SPDX-License-Identifier: MIT
#include "TFormTip.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormTip::TFormTip(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
