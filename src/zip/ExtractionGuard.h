// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// Sizes an archive declares are held against a limit and against the free space before anything
// is allocated or written for them: an honest 1000:1 entry would otherwise fill the temporary
// folder or the memory without a word.
namespace ExtractionGuard {

// No font file comes near this; a preview or a memory extraction takes no more.
constexpr quint64 Limit = quint64(512) << 20;

// The bytes free to this user in the file system holding folder; nothing when it cannot be asked.
std::optional<quint64> freeSpace(const QString &folder);

// Why the entry of that declared size may not be extracted, or "" when it may. freeBytes is
// nothing when the extraction goes to memory (or the free space is unknown).
QString refusal(const QString &entryName, quint64 declaredSize, quint64 limit, std::optional<quint64> freeBytes,
                const QString &folder = QString());

// "629145600 bytes (600.0 MiB)".
QString sizeText(quint64 bytes);

}
