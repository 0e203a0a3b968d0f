// SPDX-License-Identifier: MIT
#include "TipOfTheDay.h"

#include "IniFile.h"
#include "IntConv.h"
#include "Prompter.h"
#include "TFormTip.h"

#include <QCheckBox>
#include <QDateTime>

#include <random>

TipOfTheDay::TipOfTheDay(Prompter &prompter, IniFile &ini, TFormTip &dialog)
    : m_prompter(prompter)
    , m_ini(ini)
    , m_dialog(dialog)
{
    connect(&m_dialog, &TFormTip::nextTipRequested, this, [this] { NextTipClick(); });
}

QString TipOfTheDay::tipText(int index) const
{
    return m_ini.readString(QStringLiteral("Tips"), QString::number(index), QStringLiteral("Thank you for choosing Glyvanta"));
}

void TipOfTheDay::showTipOfTheDay()
{
    static std::mt19937 generator;
    generator.seed(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    TipCount = StrToInt(m_ini.readString(QStringLiteral("Tips"), QStringLiteral("Count"), QStringLiteral("1")));
    const int index = firstTipIndex(TipCount, generator());
    m_dialog.showTip(index, tipText(index));
    m_prompter.runDialog(m_dialog);
}

void TipOfTheDay::NextTipClick()
{
    const int index = nextTipIndex(m_dialog.tipIndex(), TipCount);
    m_dialog.showTip(index, tipText(index));
}

void TipOfTheDay::TipOfTheDayClick()
{
    StartupTipPending = false;
    showTipOfTheDay();
}

bool TipOfTheDay::showStartupTip()
{
    if (!StartupTipPending || !m_dialog.ShowStartupTips->isChecked() || m_dialog.isVisible())
        return false;
    StartupTipPending = false;
    showTipOfTheDay();
    return true;
}
