// SPDX-License-Identifier: MIT
#include "TFormFontInstall.h"

#include "Prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormFontInstall::TFormFontInstall(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFontInstall"));
    setWindowTitle(QStringLiteral("Font installation"));
    auto *layout = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("File name:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    FilePath = new QLineEdit(this);
    FilePath->setObjectName(QStringLiteral("FilePath"));
    FilePath->setMinimumWidth(300);
    Load = new QPushButton(QStringLiteral("Load..."), this);
    Load->setObjectName(QStringLiteral("Load"));
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(FilePath, 1, 0);
    layout->addWidget(Load, 1, 1);

    InstallType = new QGroupBox(QStringLiteral("Installation Type"), this);
    InstallType->setObjectName(QStringLiteral("InstallType"));
    auto *typeLayout = new QVBoxLayout(InstallType);
    m_group = new QButtonGroup(this);
    const char *items[3] = {"From current directory", "Copy to \"Fonts\" folder", "Move to \"Fonts\" folder"};
    for (int i = 0; i < 3; ++i) {
        InstallTypeItems[i] = new QRadioButton(QString::fromLatin1(items[i]), InstallType);
        m_group->addButton(InstallTypeItems[i], i);
        typeLayout->addWidget(InstallTypeItems[i]);
    }
    OverwriteInstalled = new QCheckBox(QStringLiteral("Overwrite if already exists"), InstallType);
    OverwriteInstalled->setObjectName(QStringLiteral("OverwriteInstalled"));
    typeLayout->addWidget(OverwriteInstalled);
    layout->addWidget(InstallType, 2, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    layout->addLayout(buttons, 3, 0, 1, 2);

    setInstallType(1);
    connect(m_group, &QButtonGroup::idClicked, this, [this] { InstallTypeClick(); });
    connect(Load, &QPushButton::clicked, this, [this] {
        if (onLoad)
            onLoad();
    });
    connect(OK, &QPushButton::clicked, this, [this] { done(onOk ? onOk() : ModalResult::Ok); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
    setFixedSize(sizeHint());
}

int TFormFontInstall::installType() const
{
    return m_group->checkedId();
}

void TFormFontInstall::setInstallType(int index)
{
    InstallTypeItems[index]->setChecked(true);
    InstallTypeClick();
}

void TFormFontInstall::InstallTypeClick()
{
    OverwriteInstalled->setEnabled(installType() == 1);
}
