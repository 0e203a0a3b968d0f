// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The font file kinds the program lists, loads and installs.

// The filter of the font open dialogs ("&Load..." and the install dialog's "Load...").
inline const QString kFontFileFilter = QStringLiteral("TrueType (*.ttf)|*.ttf;*.001|Raster (*.fon)|*.fon|All fonts|*.fon;*.ttf|All files|*.*");

// ".ttf" from "arial.ttf" or a full path; empty when the name has no extension.
QString fileExtension(const QString &fileName);

// 2 for TrueType (".ttf", ".001") under filters 0 and 2, 3 for raster (".fon") under 1 and 2,
// else -1 (not listed). The extension is compared in lower case.
int FileTypeImage(const QString &extension, int filter);
