// SPDX-License-Identifier: MIT
#pragma once

#include "InstallDialog.h"

#include <QDialog>

class Prompter;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Font installation": which file, and whether it stays where it is or is copied or moved into
// the fonts folder.
class TFormFontInstall : public QDialog, public InstallDialog {
    Q_OBJECT
public:
    explicit TFormFontInstall(Prompter &prompter, QWidget *parent = nullptr);

    int askInstall(const QString &path, bool allowChoice, const std::function<int(const InstallChoice &)> &accept) override;
    int installType() const;
    void setInstallType(int index);
    void InstallTypeClick();
    // "Load...": picks a font file for FilePath with the font open dialog.
    void LoadClick();
    void OKClick();

    QLabel *Label1;
    QLineEdit *FilePath;
    QPushButton *Load;
    QGroupBox *InstallType;
    QRadioButton *InstallTypeItems[3];
    QCheckBox *OverwriteInstalled;
    QPushButton *OK;
    QPushButton *Cancel;

private:
    Prompter &m_prompter;
    QButtonGroup *m_group;
    std::function<int(const InstallChoice &)> m_accept;
};
