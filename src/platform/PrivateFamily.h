// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A previewed font is handed to the toolkit under a family of its own, so that the views reach
// that file's glyphs by family alone: a family the system also has (another version, another
// design of the same name) or one the system's configuration hides would otherwise give the
// installed font or a stand-in, and the toolkit's matching of a shared family can pick another
// style.
//
// The content (an sfnt or collection, a Type 1 font, a Windows raster font file) comes back with
// every face renamed to a family made from the serial number (see privateFaceFamily); content of
// another kind, or that cannot be renamed safely, comes back empty. Raster faces get a short name
// that fits their own name field, and say that their codes are byte codes, so that the toolkit
// maps characters to them at all.
// sharedFaces gives faces styles of their own, so that several faces given one family stay faces
// of their own (the toolkit takes faces of one family and style name for one face): a single sfnt
// face takes the style of index 0; the faces of a collection named there all take the family
// privateSharedFamily(serial), each with its style, while its other faces are renamed as above.
QByteArray withPrivateFamily(const QByteArray &content, int serial, const QHash<int, QString> &sharedFaces = {});
// "Glyvanta Preview <serial>": the family of a single face, and of the shared faces of a collection.
QString privateSharedFamily(int serial);

// The family withPrivateFamily gives the face of that index: "Glyvanta Preview <serial>", with
// " <index>" for a face of a collection; "~<serial in base 36>" for a raster font.
QString privateFaceFamily(const QByteArray &content, int serial, int faceIndex);
