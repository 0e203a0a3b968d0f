// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>

class FontCatalogue;

// The font last loaded from a file.
struct CurrentFontRecord {
    bool KeepFontResource = false;
    int FontFileHandle = 0;                 // an open file descriptor of the naming-table reader, 0 when closed
    std::array<QString, 21> FontNames;      // name IDs 0 to 20
    QString FontFilePath;
};

// Gives back what the record holds: its open file, and its temporary font unless the font was
// installed in this run (KeepFontResource). Results are not checked.
void releaseFontRecord(CurrentFontRecord &record, FontCatalogue &catalogue);
