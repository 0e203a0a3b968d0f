// SPDX-License-Identifier: MIT
#include "PasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PasswordDialog::PasswordDialog(const QString &caption, const QString &prompt, const QStringList &buttonCaptions, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(caption);
    const int count = static_cast<int>(buttonCaptions.size());
    Prompt = new QLabel(prompt, this);
    Prompt->setGeometry(20, 12, 124 * count - 10, 40);
    Prompt->setWordWrap(true);
    Field = new QLineEdit(this);
    Field->setEchoMode(QLineEdit::Password);
    Field->setMaxLength(80);
    Field->setGeometry(20, 58, 124 * count - 10, 24);
    const int results[4] = {Ok, CancelOne, CancelAll, Abort};
    for (int n = 0; n < count && n < 4; ++n) {
        auto *button = new QPushButton(buttonCaptions[n], this);
        button->setGeometry(20 + 124 * n, 96, 114, 28);
        const int result = results[n];
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        Buttons << button;
    }
    if (!Buttons.isEmpty())
        Buttons.first()->setDefault(true);
    setFixedSize(40 + 124 * count - 10, 140);
}

QString PasswordDialog::password() const
{
    return Field->text();
}
