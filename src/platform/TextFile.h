// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>

// The largest sample-text file that is loaded: far more text than a preview shows.
constexpr qint64 kTextFileLimit = qint64(16) << 20;

// Lines of a single-byte text file: UTF-8 when valid, else Windows-1252; CR LF, LF and CR end lines.
QStringList linesOfTextFile(const QByteArray &content);

// Reads a text file the user chose and gives its lines. It is opened without blocking and read
// only when it is a regular file within kTextFileLimit. Raises "Cannot open file %s" when it
// cannot be opened, and that message followed by the reason for a pipe, a device or a file too
// large.
QStringList readTextFileLines(const QString &path);
