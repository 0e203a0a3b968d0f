// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Asked when a copy, move or unpack finds its target taken (the overwrite prompt,
// TOverwritePromt). Answers: 5 Overwrite, 3 Skip, 4 Rename; anything else skips.
class OverwriteQuestion {
public:
    virtual ~OverwriteQuestion() = default;
    virtual int AskOverwrite(const QString &existing, const QString &incoming) = 0;
};
