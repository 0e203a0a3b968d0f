// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The family fontconfig draws a font name with: the name itself when fonts of that family are
// installed, else the family it stands in for ("Sans Serif" is a generic name, not a family).
// Empty when fontconfig has no font at all.
QString fontconfigFamilyFor(const QString &name);
