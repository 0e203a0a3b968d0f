// SPDX-License-Identifier: MIT
#include "LocaleCompare.h"

#include <QCollator>
#include <QLocale>

int localeCompare(const QString &a, const QString &b)
{
    static const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator.compare(a, b);
}
