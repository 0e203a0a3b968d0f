// SPDX-License-Identifier: MIT
#pragma once

#include "ScriptedPrompter.h"
#include "TFormFontInstall.h"

#include <QPushButton>
#include <QRadioButton>

// The message a failed copy or move shows.
inline QString transferMessage(const QString &what, const QString &source, const QString &target, const QString &reason)
{
    return QStringLiteral("Could not %1 %2 to %3: %4").arg(what, source, target, reason);
}

// Answers the install dialog with "Copy to Fonts folder" and OK.
inline ScriptedPrompter::DialogScript installByCopy()
{
    return [](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        install.InstallTypeItems[1]->click();
        install.OK->click();
        return install.result();
    };
}
