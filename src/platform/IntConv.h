// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

// The program's one text-to-integer conversion: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x" or "0x". Anything else, or a value outside the
// 32-bit range, is not an integer.
std::optional<int> tryStrToInt(const QString &text);

// As above; throws AppError "'%s' is not a valid integer value" when the text is not an integer.
int StrToInt(const QString &text);
