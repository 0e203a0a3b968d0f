// SPDX-License-Identifier: MIT
#include "TFormAbout.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormAbout::TFormAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormAbout"));
    setWindowTitle(QStringLiteral("About Glyvanta ver. 2.4"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
