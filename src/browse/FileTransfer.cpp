// SPDX-License-Identifier: MIT
#include "FileTransfer.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// rename() that refuses to replace an existing target.
int renameNoReplace(const char *from, const char *to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // File systems without RENAME_NOREPLACE: link() refuses an existing name just as well.
    if (::link(from, to) != 0)
        return -1;
    ::unlink(from);
    return 0;
}

TransferResult failure(int error)
{
    return {false, reason(error)};
}

// Copies into a temporary file in the target's folder and puts it in place.
TransferResult copyFile(const QByteArray &source, const QByteArray &target, ReplaceExisting replace)
{
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return failure(errno);
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno ? errno : EISDIR;
        ::close(in);
        return failure(error);
    }
    if (replace == ReplaceExisting::No && ::access(target.constData(), F_OK) == 0) {
        ::close(in);
        return failure(EEXIST);
    }
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = target.left(slash + 1) + ".glyvanta-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return failure(error);
    }
    int error = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                error = errno;
                break;
            }
            done += w;
        }
        if (error)
            break;
    }
    if (!error && ::fsync(out) != 0)
        error = errno;
    if (!error) {
        ::fchmod(out, info.st_mode & 07777);
        const timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    if (::close(out) != 0 && !error)
        error = errno;
    if (!error) {
        const int placed = replace == ReplaceExisting::Yes ? ::rename(temporary.constData(), target.constData())
                                                           : renameNoReplace(temporary.constData(), target.constData());
        if (placed != 0)
            error = errno;
    }
    if (error) {
        ::unlink(temporary.constData());
        return failure(error);
    }
    return {true, {}};
}

}

TransferResult transferFile(const QString &source, const QString &target, TransferMode mode, ReplaceExisting replace)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (QFileInfo(source).absoluteFilePath() == QFileInfo(target).absoluteFilePath())
        return failure(EEXIST);
    if (mode == TransferMode::Copy)
        return copyFile(from, to, replace);

    const int moved = replace == ReplaceExisting::Yes ? ::rename(from.constData(), to.constData()) : renameNoReplace(from.constData(), to.constData());
    if (moved == 0)
        return {true, {}};
    if (errno != EXDEV)
        return failure(errno);
    // Another file system: copy, and give up the source only once the copy stands.
    const TransferResult copied = copyFile(from, to, replace);
    if (!copied.ok)
        return copied;
    if (::unlink(from.constData()) != 0)
        return {false, QStringLiteral("the file was copied, but the original could not be removed: ") + reason(errno)};
    return {true, {}};
}

QString FormatByteCount(qint64 size)
{
    const QString digits = QString::number(size);
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(' ');
        out += digits[i];
    }
    return out + QLatin1Char(' ');
}

QString sizeAndTimeLine(qint64 size, const QDateTime &lastWrite)
{
    const QDateTime utc = lastWrite.toUTC();
    return FormatByteCount(size) + QStringLiteral("Byte, %1.%2.%3 %4:%5:%6")
                                       .arg(utc.date().day())
                                       .arg(utc.date().month())
                                       .arg(utc.date().year())
                                       .arg(utc.time().hour())
                                       .arg(utc.time().minute())
                                       .arg(utc.time().second());
}
