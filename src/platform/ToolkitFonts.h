// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

// The toolkit's side of a temporary font: the catalogue hands the toolkit the font's bytes
// through this, so that the catalogue itself needs no GUI library.
class ToolkitFonts {
public:
    virtual ~ToolkitFonts() = default;
    // The toolkit's id of the added font, or -1 when it did not take it.
    virtual int addFont(const QByteArray &content) = 0;
    virtual void removeFont(int id) = 0;
};
