// SPDX-License-Identifier: MIT
#pragma once

#include "CurrentFont.h"
#include "NameString.h"
#include "NativeFile.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

class ByteSource;

// Reads the 21 strings (name IDs 0 to 20) of a TrueType/OpenType naming table.
//
// Safety: every offset is computed in 64-bit arithmetic and every read is bounded by the source,
// so a table or a record that points past the end comes up short and fails; nothing outside the
// file is read. Records are taken in file order; the last one with an ID wins; IDs above 20 are
// skipped, and so are records whose string does not lie inside the naming table (as its table
// record gives its length) and the file. Only the winning strings are decoded, each distinct
// range once, so the work follows the file's size, not the records' claims.
// Strings are decoded by platform: Unicode and Windows records as UTF-16 big-endian, Macintosh
// Roman records as Mac Roman, others by dropping zero bytes.
// A collection (.ttc, .otc) holds several faces, each with a table directory of its own; the
// reader takes the face asked for. A face index beyond the collection is a short read.
enum class NameReadStatus { Ok, CannotOpen, ShortRead, NoNameTable };

struct NameReadResult {
    std::array<QString, 21> names;   // filled as far as reading got
    NameReadStatus status = NameReadStatus::Ok;
    int faceCount = 1;               // the faces of a collection; 1 for a single font
};

NameReadResult readNameTable(ByteSource &source, std::uint64_t sourceSize, int faceIndex = 0);
NameReadResult readNameTable(std::span<const std::uint8_t> bytes, int faceIndex = 0);

// The reader as the program uses it on a font record: returns the full name (name ID 4), empty
// when the file has no full name or no naming table, and nothing (the failure result) when the
// file cannot be opened or a read comes up short. On failure after opening, the file stays open
// in FontFileHandle and FontFilePath keeps its previous value; on success the file is closed
// and the path recorded. The file is opened without blocking and read only when it is a regular
// file; why tells the caller when the file was refused (None when it was opened).
// faceIndex picks the face of a collection; faceCount, when given, receives the collection's
// number of faces (1 for a single font).
std::optional<QString> ReadTrueTypeNames(CurrentFontRecord &record, const QString &path, FileRefusal *why = nullptr, int faceIndex = 0,
                                         int *faceCount = nullptr);

// The names of a font file read as ReadTrueTypeNames reads them, the file closed again; all
// empty when they could not be read.
std::array<QString, 21> readFontFileNames(const QString &path, int faceIndex = 0);
