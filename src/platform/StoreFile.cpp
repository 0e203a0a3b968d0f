// SPDX-License-Identifier: MIT
#include "StoreFile.h"

#include <cerrno>

#include <sys/stat.h>

QString sizeLimitText(qint64 bytes)
{
    constexpr qint64 mb = qint64(1) << 20;
    if (bytes >= mb && bytes % mb == 0)
        return QStringLiteral("%1 MB").arg(bytes / mb);
    return QStringLiteral("%1 bytes").arg(bytes);
}

QString refusalReason(FileRefusal why, qint64 limit)
{
    switch (why) {
    case FileRefusal::NotRegular:
        return QStringLiteral("it is not a regular file but a folder, pipe, socket or device");
    case FileRefusal::TooLarge:
        return QStringLiteral("it is larger than %1").arg(sizeLimitText(limit));
    case FileRefusal::Missing:
        return QStringLiteral("it may not be opened");
    case FileRefusal::Unreadable:
    case FileRefusal::None:
        break;
    }
    return QStringLiteral("it could not be read");
}

StoreContent readStoreFile(const QString &path, qint64 limit)
{
    StoreContent result;
    FileRefusal why = FileRefusal::None;
    if (std::optional<QByteArray> bytes = readRegularFile(path, limit, &why)) {
        result.state = StoreContent::State::Read;
        result.bytes = std::move(*bytes);
        return result;
    }
    if (why == FileRefusal::Missing) {
        // Only a name that is really not there is an empty store; one that exists but may not
        // be opened holds content we do not know.
        struct stat info {};
        const QByteArray native = nativePath(path);
        if (native.isEmpty() || native.contains('\0') || (::stat(native.constData(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)))
            return result;
    }
    result.state = StoreContent::State::Refused;
    result.reason = refusalReason(why, limit);
    return result;
}
