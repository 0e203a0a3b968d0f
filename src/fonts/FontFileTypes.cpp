// SPDX-License-Identifier: MIT
#include "FontFileTypes.h"

namespace {

enum Filter { TrueTypeOnly, RasterOnly, TrueTypeAndRaster, OpenType, WebFonts, Type1Fonts, AllFontFiles };

}

QStringList extensionFilterItems()
{
    return {QStringLiteral("TrueType  (*.ttf)"),
            QStringLiteral("Raster (*.fon)"),
            QStringLiteral("Font files (*.ttf;*.fon)"),
            QStringLiteral("OpenType (*.otf;*.ttc;*.otc)"),
            QStringLiteral("Web fonts (*.woff;*.woff2)"),
            QStringLiteral("Type 1 (*.pfb;*.pfa;*.t1)"),
            QStringLiteral("All font files")};
}

QString fileExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < slash)
        return {};
    return fileName.mid(dot);
}

FontFileKind fontFileKind(const QString &extension)
{
    const QString ext = extension.toLower();
    if (ext == QLatin1String(".ttf") || ext == QLatin1String(".otf"))
        return FontFileKind::Sfnt;
    if (ext == QLatin1String(".ttc") || ext == QLatin1String(".otc"))
        return FontFileKind::Collection;
    if (ext == QLatin1String(".woff") || ext == QLatin1String(".woff2"))
        return FontFileKind::WebFont;
    if (ext == QLatin1String(".pfb") || ext == QLatin1String(".pfa") || ext == QLatin1String(".t1"))
        return FontFileKind::Type1;
    if (ext == QLatin1String(".fon") || ext == QLatin1String(".fnt"))
        return FontFileKind::Raster;
    if (ext == QLatin1String(".001"))
        return FontFileKind::Other;
    return FontFileKind::None;
}

bool hasNamingTable(FontFileKind kind)
{
    return kind == FontFileKind::Sfnt || kind == FontFileKind::Collection || kind == FontFileKind::WebFont;
}

int FileTypeImage(const QString &extension, int filter)
{
    const QString ext = extension.toLower();
    const FontFileKind kind = fontFileKind(ext);
    switch (filter) {
    case TrueTypeOnly:
    case RasterOnly:
    case TrueTypeAndRaster:
        if ((ext == QLatin1String(".ttf") || ext == QLatin1String(".001")) && filter != RasterOnly)
            return 2;
        if (ext == QLatin1String(".fon") && filter != TrueTypeOnly)
            return 3;
        return -1;
    case OpenType:
        return ext == QLatin1String(".otf") || kind == FontFileKind::Collection ? 2 : -1;
    case WebFonts:
        return kind == FontFileKind::WebFont ? 2 : -1;
    case Type1Fonts:
        return kind == FontFileKind::Type1 ? 2 : -1;
    case AllFontFiles:
        return kind == FontFileKind::None ? -1 : kind == FontFileKind::Raster ? 3 : 2;
    default:
        return -1;
    }
}

QString fontsKeySuffix(const QString &extension, int filter)
{
    const int image = FileTypeImage(extension, filter);
    if (image == 3)
        return QStringLiteral(" (VGA res)");
    if (image != 2)
        return {};
    return fontFileKind(extension) == FontFileKind::Type1 ? QStringLiteral(" (Type 1)") : QStringLiteral(" (TrueType)");
}
