// SPDX-License-Identifier: MIT
#pragma once

#include "ListView.h"

// The row of a list whose caption is the given text, or -1.
inline int rowOf(const ListView *list, const QString &caption)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i).caption == caption)
            return i;
    return -1;
}
