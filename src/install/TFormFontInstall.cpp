// SPDX-License-Identifier: MIT
#include "TFormFontInstall.h"

#include "FontFileTypes.h"
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

TFormFontInstall::TFormFontInstall(Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
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
    connect(Load, &QPushButton::clicked, this, [this] { LoadClick(); });
    connect(OK, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
    setFixedSize(sizeHint());
}

int TFormFontInstall::askInstall(const QString &path, bool allowChoice, const std::function<int(const InstallChoice &)> &accept)
{
    InstallType->setEnabled(allowChoice);
    FilePath->setText(path);
    m_accept = accept;
    const int result = m_prompter.runDialog(*this);
    m_accept = nullptr;
    return result;
}

void TFormFontInstall::LoadClick()
{
    if (const auto path = m_prompter.openFile(kFontFileFilter, QString()))
        FilePath->setText(*path);
}

void TFormFontInstall::OKClick()
{
    const InstallChoice choice{FilePath->text(), installType(), OverwriteInstalled->isChecked()};
    done(m_accept ? m_accept(choice) : ModalResult::Ok);
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
