// SPDX-License-Identifier: MIT
#include "NativePaths.h"

#include "NativeFile.h"

#include <QTimeZone>

#include <climits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool statOf(const QString &path, struct stat &info, bool follow)
{
    const QByteArray native = nativePath(path);
    if (native.isEmpty() || native.contains('\0'))
        return false;
    return (follow ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info)) == 0;
}

}

bool pathExists(const QString &path)
{
    struct stat info {};
    return statOf(path, info, false);
}

bool isDirectory(const QString &path)
{
    struct stat info {};
    return statOf(path, info, true) && S_ISDIR(info.st_mode);
}

bool isRegularFile(const QString &path)
{
    struct stat info {};
    return statOf(path, info, true) && S_ISREG(info.st_mode);
}

bool isSymLink(const QString &path)
{
    struct stat info {};
    return statOf(path, info, false) && S_ISLNK(info.st_mode);
}

std::optional<PathInfo> pathInfo(const QString &path)
{
    struct stat own {};
    if (!statOf(path, own, false))
        return std::nullopt;
    PathInfo result;
    struct stat followed = own;
    if (S_ISLNK(own.st_mode)) {
        result.symLink = true;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(nativePath(path).constData(), target, sizeof target);
        if (n > 0)
            result.linkTarget = pathFromNative(QByteArrayView(target, n));
        if (!statOf(path, followed, true))
            followed = own;
    }
    result.size = followed.st_size;
    result.lastWrite = QDateTime::fromMSecsSinceEpoch(qint64(followed.st_mtim.tv_sec) * 1000 + followed.st_mtim.tv_nsec / 1000000,
                                                      QTimeZone::utc());
    result.writable = ::access(nativePath(path).constData(), W_OK) == 0;
    return result;
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString displayPath(const QString &path)
{
    QString out = path;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t unit = out[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(unit))
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}
