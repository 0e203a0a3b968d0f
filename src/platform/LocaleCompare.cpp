// SPDX-License-Identifier: MIT
#include "LocaleCompare.h"

#include <QCollator>
#include <QLocale>

namespace {

const QCollator &collator()
{
    static const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        // Set up here, once: the lists are sorted on worker threads too.
        c.compare(QStringLiteral("a"), QStringLiteral("b"));
        return c;
    }();
    return collator;
}

}

int localeCompare(const QString &a, const QString &b)
{
    return collator().compare(a, b);
}

QCollatorSortKey localeSortKey(const QString &text)
{
    return collator().sortKey(text);
}
