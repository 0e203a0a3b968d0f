// SPDX-License-Identifier: MIT
#include "TFormGoTo.h"

#include "Prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TFormGoTo::TFormGoTo(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormGoTo"));
    setWindowTitle(QStringLiteral("Go To"));
    Label3 = new QLabel(QStringLiteral("Go to:"), this);
    GoTo = new QLineEdit(this);
    GoToCode = new QRadioButton(QStringLiteral("Code"), this);
    GoToSymbol = new QRadioButton(QStringLiteral("Symbol"), this);
    GoStart = new QPushButton(QStringLiteral("Go"), this);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    GoTo->setObjectName(QStringLiteral("GoTo"));
    GoToCode->setObjectName(QStringLiteral("GoToCode"));
    GoToSymbol->setObjectName(QStringLiteral("GoToSymbol"));
    GoStart->setObjectName(QStringLiteral("GoStart"));
    Cancel->setObjectName(QStringLiteral("Cancel"));
    GoToCode->setChecked(true);
    GoStart->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(GoTo, 0, 1, 1, 2);
    grid->addWidget(GoToCode, 1, 1);
    grid->addWidget(GoToSymbol, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(GoStart);
    buttons->addWidget(Cancel);
    grid->addLayout(buttons, 2, 0, 1, 3);
    connect(GoStart, &QPushButton::clicked, this, [this] { done(ModalResult::Ok); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
    setFixedSize(sizeHint());
}
