// SPDX-License-Identifier: MIT
#pragma once

#include "EntryName.h"
#include "NativeFile.h"

#include <QString>

// Where an archive entry lands inside folder, by the one rule the unzip library writes by
// (entryname::inside): "" when the entry's name is refused. The stored name may use '\' or '/'.
inline QString zipEntryPath(const QString &folder, const QString &storedName, bool keepFolders)
{
    const std::optional<std::string> path = entryname::inside(nativePath(folder).toStdString(), nativePath(storedName).toStdString(), keepFolders);
    return path ? pathFromNative(QByteArrayView(path->data(), static_cast<qsizetype>(path->size()))) : QString();
}
