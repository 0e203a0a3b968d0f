// SPDX-License-Identifier: MIT
#include "ExtractionGuard.h"

#include "NativeFile.h"

#include <sys/statvfs.h>

namespace ExtractionGuard {

std::optional<quint64> freeSpace(const QString &folder)
{
    struct statvfs info {};
    if (::statvfs(nativePath(folder).constData(), &info) != 0)
        return std::nullopt;
    return quint64(info.f_bavail) * info.f_frsize;
}

QString sizeText(quint64 bytes)
{
    const QString exact = QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return exact;
    return exact + QStringLiteral(" (%1 MiB)").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

QString refusal(const QString &entryName, quint64 declaredSize, quint64 limit, std::optional<quint64> freeBytes, const QString &folder)
{
    if (declaredSize > limit)
        return QStringLiteral("The archive entry %1 is %2 when extracted, more than the %3 an extraction may take.")
            .arg(entryName, sizeText(declaredSize), sizeText(limit));
    if (freeBytes && declaredSize > *freeBytes)
        return QStringLiteral("The archive entry %1 is %2 when extracted, but only %3 are free in %4.")
            .arg(entryName, sizeText(declaredSize), sizeText(*freeBytes), folder);
    return QString();
}

}
