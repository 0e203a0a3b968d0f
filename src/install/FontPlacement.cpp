// SPDX-License-Identifier: MIT
#include "FontPlacement.h"

#include "NativeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// rename() that refuses to replace an existing target.
bool renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: link() refuses an existing name just as well.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

bool writeAll(int fd, const QByteArray &content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}

bool fontFileExists(const QString &path)
{
    struct stat info {};
    return ::stat(nativePath(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool placeFontCopy(const QByteArray &content, const QString &target, bool replace)
{
    const QByteArray to = nativePath(target);
    if (!replace && ::access(to.constData(), F_OK) == 0)
        return false;
    QByteArray temporary = to.left(to.lastIndexOf('/') + 1) + ".glyvanta-install-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = replace ? ::rename(temporary.constData(), to.constData()) == 0 : renameNoReplace(temporary, to);
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

bool moveFontFile(const QString &source, const QString &target, const QByteArray &content)
{
    const QByteArray from = nativePath(source);
    if (renameNoReplace(from, nativePath(target)))
        return true;
    if (errno != EXDEV)
        return false;
    // Another file system: the copy first, and the source goes only once the copy stands.
    if (!placeFontCopy(content, target, false))
        return false;
    if (::unlink(from.constData()) != 0 && errno != ENOENT) {
        removeFontFile(target);
        return false;
    }
    return true;
}

bool removeFontFile(const QString &path)
{
    return ::unlink(nativePath(path).constData()) == 0;
}
