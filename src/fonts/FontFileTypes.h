// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The font file kinds the program lists, loads and installs.

// The filter of the font open dialogs ("&Load..." and the install dialog's "Load..."): the three
// kinds every version offered, then the formats of a Linux machine, then every file.
inline const QString kFontFileFilter = QStringLiteral(
    "TrueType (*.ttf)|*.ttf;*.001|Raster (*.fon)|*.fon|All fonts|*.fon;*.ttf"
    "|OpenType (*.otf;*.ttc;*.otc)|*.otf;*.ttc;*.otc|Web fonts (*.woff;*.woff2)|*.woff;*.woff2|Type 1 (*.pfb;*.pfa;*.t1)|*.pfb;*.pfa;*.t1"
    "|All font files|*.ttf;*.001;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pfb;*.pfa;*.t1;*.fon;*.fnt|All files|*.*");

// The items of the folder list's extension filter, in index order.
QStringList extensionFilterItems();

// ".ttf" from "arial.ttf" or a full path; empty when the name has no extension.
QString fileExtension(const QString &fileName);

// How a file's faces are named, told by its extension (compared in lower case).
enum class FontFileKind {
    None,        // not a font file
    Sfnt,        // TrueType and OpenType: .ttf, .otf
    Collection,  // .ttc, .otc: several sfnt faces
    WebFont,     // .woff, .woff2: an sfnt packed for the web
    Type1,       // .pfb, .pfa, .t1
    Raster,      // .fon, .fnt
    Other,       // .001
};
FontFileKind fontFileKind(const QString &extension);
// The kinds whose names come from a naming table.
bool hasNamingTable(FontFileKind kind);

// The list image of a font file under a filter (the index of SelectExt): 2 for TrueType (".ttf",
// ".001") under filters 0 and 2, 3 for raster (".fon") under 1 and 2; under the filters that
// follow, 2 for the scalable kinds they name and 3 for raster files; else -1 (not listed).
int FileTypeImage(const QString &extension, int filter);

// The suffix of a Fonts-key value name for a file that FileTypeImage lists under the filter:
// " (TrueType)" for TrueType and OpenType (web fonts and collections too), " (Type 1)" for Type 1,
// " (VGA res)" for raster; empty when the filter does not admit the file.
QString fontsKeySuffix(const QString &extension, int filter);
