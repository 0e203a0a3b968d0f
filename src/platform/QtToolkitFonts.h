// SPDX-License-Identifier: MIT
#pragma once

#include "ToolkitFonts.h"

// Temporary fonts in the toolkit's font database, where the views find them by family.
class QtToolkitFonts final : public ToolkitFonts {
public:
    int addFont(const QByteArray &content) override;
    void removeFont(int id) override;
};
