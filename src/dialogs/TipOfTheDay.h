// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class IniFile;
class Prompter;
class TFormTip;

// The tip of the day: the tips of favorites.ini's "Tips" section shown in TFormTip, once at
// start-up when the dialog's check box asks for it, and from the Help menu.
class TipOfTheDay : public QObject {
    Q_OBJECT
public:
    TipOfTheDay(Prompter &prompter, IniFile &ini, TFormTip &dialog);

    // Chooses the first tip and shows the dialog.
    void showTipOfTheDay();
    void NextTipClick();
    // "Tip of the Day...": no start-up tip after this one.
    void TipOfTheDayClick();
    // Shows the start-up tip when one is pending, the check box asks for it and the dialog is
    // not already shown; true when it was shown.
    bool showStartupTip();

    // Set once start-up is over; cleared when a tip is shown.
    bool StartupTipPending = false;
    int TipCount = 0;

private:
    QString tipText(int index) const;

    Prompter &m_prompter;
    IniFile &m_ini;
    TFormTip &m_dialog;
};
