// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

enum class TransferMode { Copy, Move };
enum class ReplaceExisting { No, Yes };

struct TransferResult {
    bool ok = false;
    QString error;   // the system's reason when not ok
};

// Copies or moves a file (a move may also take a folder). Nothing is ever replaced unless asked:
// without ReplaceExisting::Yes an existing target makes the transfer fail. A copy is written to
// a temporary file beside the target and renamed into place, so a full disk or a source that
// vanishes half-way leaves no partial target. A move across file systems copies first and
// deletes the source only once the copy is in place, so the source survives any failure.
TransferResult transferFile(const QString &source, const QString &target, TransferMode mode, ReplaceExisting replace);

// "2 072 302 " for 2072302: blanks between groups of three digits and one after the last.
QString FormatByteCount(qint64 size);
// The size and time line of the overwrite prompt: "2 072 302 Byte, 10.7.2003 17:35:4"
// (the last-write time in universal time, no leading zeros).
QString sizeAndTimeLine(qint64 size, const QDateTime &lastWrite);
