// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The locale-aware, case-sensitive comparison of list captions (as lstrcmp sorts): the user's
// collation, or English collation where the locale is the plain C locale, so that "Marlett"
// sorts before "MS Sans Serif" everywhere.
int localeCompare(const QString &a, const QString &b);
