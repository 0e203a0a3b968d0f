// SPDX-License-Identifier: MIT
#pragma once

#include <QCollatorSortKey>
#include <QString>

// The locale-aware, case-sensitive comparison of list captions (as lstrcmp sorts): the user's
// collation, or English collation where the locale is the plain C locale, so that "Marlett"
// sorts before "MS Sans Serif" everywhere.
int localeCompare(const QString &a, const QString &b);
// The key of a text under that comparison, for sorting many: two keys compare as their texts do,
// at the cost of a byte comparison.
QCollatorSortKey localeSortKey(const QString &text);
