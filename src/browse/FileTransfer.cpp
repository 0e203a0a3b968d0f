// SPDX-License-Identifier: MIT
#include "FileTransfer.h"

#include "NativeFile.h"

#include <QDir>
#include <QRandomGenerator>

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

const QString kNotAFile = QStringLiteral("it is not a regular file but a pipe, socket or device");

// The same path, or another name of the same file (a hard link, a folder reached through a link).
bool sameFile(const QByteArray &from, const QByteArray &to)
{
    if (QDir::cleanPath(QString::fromLatin1(from)) == QDir::cleanPath(QString::fromLatin1(to)))
        return true;
    struct stat a {}, b {};
    return ::stat(from.constData(), &a) == 0 && ::stat(to.constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// An unnamed file in the target's folder, so that a copy cut short (a crash, a kill) leaves
// nothing behind; file systems without O_TMPFILE get a named temporary file instead.
struct TemporaryFile {
    int fd = -1;
    QByteArray name;   // empty while the file has no name

    explicit TemporaryFile(const QByteArray &target)
    {
        const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
        fd = ::open(folder.isEmpty() ? "." : folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
            return;
        name = folder + ".glyvanta-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
    }
    // Gives the file the target's name; false with errno set when it cannot.
    bool place(const QByteArray &target, ReplaceExisting replace)
    {
        if (name.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
            if (replace == ReplaceExisting::No)
                return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0;
            // A name of its own beside the target, to rename over it; a leftover of a killed run
            // may hold a name, so another is drawn.
            const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
            for (int attempt = 0;; ++attempt) {
                name = folder + ".glyvanta-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
                if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                    break;
                if (errno != EEXIST || attempt == 8) {
                    name.clear();
                    return false;
                }
            }
        }
        const int placed = replace == ReplaceExisting::Yes ? ::rename(name.constData(), target.constData())
                                                           : renameNoReplace(name.constData(), target.constData());
        if (placed == 0)
            name.clear();
        return placed == 0;
    }
    // Removes a named file that was not placed.
    void discard()
    {
        if (!name.isEmpty())
            ::unlink(name.constData());
    }
};

// Why a source that RegularFile refused was refused, in the words of a failed transfer.
TransferResult refusedSource(const QString &source, FileRefusal why)
{
    struct stat info {};
    const QByteArray native = nativePath(source);
    if (::stat(native.constData(), &info) != 0)
        return failure(errno);
    if (S_ISDIR(info.st_mode))
        return failure(EISDIR);
    if (why == FileRefusal::NotRegular)
        return {false, kNotAFile};
    return failure(EACCES);
}

// Copies into a temporary file in the target's folder and puts it in place. The source is opened
// without blocking and copied only when it is a regular file: a FIFO would wait forever for a
// writer, and a device would never end.
TransferResult copyFile(const QString &source, const QByteArray &target, ReplaceExisting replace)
{
    RegularFile file(source);
    if (!file.isOpen())
        return refusedSource(source, file.refusal());
    struct stat info {};
    const int in = file.release();
    if (::fstat(in, &info) != 0) {
        const int error = errno;
        ::close(in);
        return failure(error);
    }
    // Reads of the copy wait for the disk as usual.
    ::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) & ~O_NONBLOCK);
    if (replace == ReplaceExisting::No && ::access(target.constData(), F_OK) == 0) {
        ::close(in);
        return failure(EEXIST);
    }
    TemporaryFile out(target);
    if (out.fd < 0) {
        const int error = errno;
        ::close(in);
        return failure(error);
    }
    int error = 0;
    off_t copied = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0)
            break;
        copied += n;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out.fd, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                error = errno;
                break;
            }
            done += w;
        }
        if (error)
            break;
    }
    ::close(in);
    // A source cut short while it was read (truncated by another program, or on a medium that
    // went away) must not pass for a whole copy.
    const bool shortened = !error && copied < info.st_size;
    if (!error && !shortened && ::fsync(out.fd) != 0)
        error = errno;
    if (!error && !shortened) {
        ::fchmod(out.fd, info.st_mode & 07777);
        const timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(out.fd, times);
        if (!out.place(target, replace))
            error = errno;
    }
    ::close(out.fd);
    if (error || shortened) {
        out.discard();
        return shortened ? TransferResult{false, QStringLiteral("the file became shorter while it was being copied")} : failure(error);
    }
    return {true, {}};
}

}

TransferResult transferFile(const QString &source, const QString &target, TransferMode mode, ReplaceExisting replace)
{
    const QByteArray from = nativePath(source);
    const QByteArray to = nativePath(target);
    if (from.isEmpty() || to.isEmpty() || from.contains('\0') || to.contains('\0'))
        return failure(ENOENT);
    if (sameFile(from, to))
        return failure(EEXIST);
    if (mode == TransferMode::Copy)
        return copyFile(source, to, replace);

    // A move takes files, folders and links to them, never a FIFO, socket or device.
    struct stat node {};
    if (::lstat(from.constData(), &node) != 0)
        return failure(errno);
    if (S_ISLNK(node.st_mode) && ::stat(from.constData(), &node) != 0)
        node.st_mode = S_IFLNK;   // a dangling link is only a name
    if (!S_ISREG(node.st_mode) && !S_ISDIR(node.st_mode) && !S_ISLNK(node.st_mode))
        return {false, kNotAFile};

    const int moved = replace == ReplaceExisting::Yes ? ::rename(from.constData(), to.constData()) : renameNoReplace(from.constData(), to.constData());
    if (moved == 0)
        return {true, {}};
    if (errno != EXDEV)
        return failure(errno);
    // Another file system: copy, and give up the source only once the copy stands. A source
    // that could not be removed (a read-only medium) refuses the move before anything is copied.
    const QByteArray sourceFolder = from.left(from.lastIndexOf('/') + 1);
    if (::access(sourceFolder.isEmpty() ? "." : sourceFolder.constData(), W_OK) != 0)
        return failure(errno);
    const TransferResult copied = copyFile(source, to, replace);
    if (!copied.ok)
        return copied;
    // A source someone else removed meanwhile is gone as a move would leave it.
    if (::unlink(from.constData()) != 0 && errno != ENOENT)
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
