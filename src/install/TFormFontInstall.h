// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Font installation": which file, and whether it stays where it is or is copied or moved into
// the fonts folder.
class TFormFontInstall : public QDialog {
    Q_OBJECT
public:
    explicit TFormFontInstall(QWidget *parent = nullptr);

    int installType() const;
    void setInstallType(int index);
    void InstallTypeClick();

    // Runs the install when OK is pressed; returns the dialog's result (OK or Abort).
    std::function<int()> onOk;
    // Picks a font file for FilePath (the main window's font open dialog).
    std::function<void()> onLoad;

    QLabel *Label1;
    QLineEdit *FilePath;
    QPushButton *Load;
    QGroupBox *InstallType;
    QRadioButton *InstallTypeItems[3];
    QCheckBox *OverwriteInstalled;
    QPushButton *OK;
    QPushButton *Cancel;

private:
    QButtonGroup *m_group;
};
