// SPDX-License-Identifier: MIT
#include "FontFamilies.h"

#include <fontconfig/fontconfig.h>

QString fontconfigFamilyFor(const QString &name)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.toUtf8().constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    QString family;
    if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8 *value = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch && value)
            family = QString::fromUtf8(reinterpret_cast<const char *>(value));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return family;
}
