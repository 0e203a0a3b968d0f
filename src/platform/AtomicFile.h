// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Writes the whole content to a temporary file beside the target, flushes it to disk and renames
// it over the target. On any failure (a full disk, a file size limit, a read-only folder) the
// target is left exactly as it was and false is returned.
bool writeFileAtomically(const QString &path, const QByteArray &content);
