// SPDX-License-Identifier: MIT
#include "CurrentFont.h"

#include "FontCatalogue.h"

#include <unistd.h>

void releaseFontRecord(CurrentFontRecord &record, FontCatalogue &catalogue)
{
    if (record.FontFileHandle > 0)
        ::close(record.FontFileHandle);
    record.FontFileHandle = 0;
    if (!record.KeepFontResource && !record.FontFilePath.isEmpty())
        catalogue.removeTemporary(record.FontFilePath);
}
