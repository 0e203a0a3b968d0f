// SPDX-License-Identifier: MIT
#include "TFormLinksOrg.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TFormLinksOrg::TFormLinksOrg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormLinksOrg"));
    setWindowTitle(QStringLiteral("Organize Links"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(ModalResult::Ok); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(ModalResult::Cancel); });
}
