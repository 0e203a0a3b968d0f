// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Putting a font file into the fonts folder. Paths are reached by their native names (a name
// that is not UTF-8 stays the name it is), and what is written is the content that was checked,
// so a file swapped after the check cannot slip in.

// Whether something other than a folder exists at the path (a link is followed).
bool fontFileExists(const QString &path);

// Writes the content to a temporary file beside the target and gives it the target's name,
// replacing a file of that name only when asked. Nothing is left behind on failure.
bool placeFontCopy(const QByteArray &content, const QString &target, bool replace);

// Renames the source to the target, never replacing one; across file systems the content (the
// source's, as checked) is placed there and the source removed. On failure both stay as they were.
bool moveFontFile(const QString &source, const QString &target, const QByteArray &content);

// Removes a file or link by its native name.
bool removeFontFile(const QString &path);
