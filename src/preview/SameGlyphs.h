// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QFont;

// Whether a font draws the glyphs of a font file's face: characters the face itself covers are
// drawn with the font (as the toolkit resolves it) and with the face loaded straight from the
// file's bytes (an sfnt, a collection, a Type 1 or raster font; web fonts unpacked), at the same
// pixel size (a face of bitmaps only: the size of its first strike), and the pixels compared.
// why tells what was drawn instead.
bool drawsFileGlyphs(const QFont &font, const QByteArray &fileContent, int faceIndex, int pixelSize, QString *why = nullptr);
