// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The Windows charset codes and the names the program shows for them.
QString CharsetName(int code);
// The code of a name made by CharsetName; other texts fail the integer conversion (AppError).
int CharsetCode(const QString &name);
// Fills target with the names of the separated decimal codes; false (target untouched) when
// there is no target or the text is empty.
bool CharsetNamesFromList(QStringList *target, const QString &codes, QChar separator);
