// SPDX-License-Identifier: MIT
// Defines read() itself, so the fortified inline wrappers must stay out.
#undef _FORTIFY_SOURCE
#include "FaultSystem.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <dlfcn.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Plain characters: this is written before main, ahead of dynamic initialisation.
char g_namespaceError[160] = "not tried";

void setNamespaceError(const char *what, int error)
{
    std::snprintf(g_namespaceError, sizeof g_namespaceError, "%s%s%s", what, error ? ": " : "", error ? std::strerror(error) : "");
}

bool writeProcFile(const char *path, const std::string &text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

// Runs before main, while the process has one thread: a namespace entered later would hold
// only the calling thread.
__attribute__((constructor)) void enterOwnMountNamespace()
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWNS) != 0) {
        // Without the privilege, a user namespace gives it.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            setNamespaceError("no mount namespace", errno);
            return;
        }
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            setNamespaceError("no identity map in the user namespace", 0);
            return;
        }
    }
    // Nothing mounted here may reach the rest of the machine.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        setNamespaceError("mounts cannot be made private", errno);
        return;
    }
    g_namespaceError[0] = 0;
}

// The armed read fault.
std::atomic<bool> g_readArmed{false};
std::atomic<bool> g_readFired{false};
std::mutex g_readMutex;
dev_t g_readDevice = 0;
ino_t g_readInode = 0;
qint64 g_readAfter = 0;
qint64 g_readSeen = 0;
fault::ReadFault g_readWhat = fault::ReadFault::Error;
QByteArray g_readPath;

std::atomic<bool> g_killAtRename{false};

template <typename F>
F realFunction(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

// How many bytes a read of `count` from `fd` may take before the fault, or -1 to fail it now.
// Returns `count` when the descriptor is not the faulty file.
ssize_t allowedRead(int fd, size_t count, bool &faulty)
{
    faulty = false;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return static_cast<ssize_t>(count);
    std::lock_guard lock(g_readMutex);
    if (info.st_dev != g_readDevice || info.st_ino != g_readInode)
        return static_cast<ssize_t>(count);
    faulty = true;
    if (g_readSeen < g_readAfter)
        return static_cast<ssize_t>(std::min<qint64>(static_cast<qint64>(count), g_readAfter - g_readSeen));
    const bool first = !g_readFired.exchange(true);
    switch (g_readWhat) {
    case fault::ReadFault::Error:
        errno = EIO;
        return -1;
    case fault::ReadFault::Truncate:
        if (first)
            ::truncate(g_readPath.constData(), g_readAfter);
        break;
    case fault::ReadFault::Unlink:
        if (first)
            ::unlink(g_readPath.constData());
        break;
    }
    return static_cast<ssize_t>(count);
}

void countRead(ssize_t n, bool faulty)
{
    if (n > 0 && faulty) {
        std::lock_guard lock(g_readMutex);
        g_readSeen += n;
    }
}

template <typename Call>
ssize_t faultyRead(int fd, size_t count, Call call)
{
    bool faulty = false;
    const ssize_t allowed = allowedRead(fd, count, faulty);
    if (allowed < 0)
        return -1;
    const ssize_t n = call(static_cast<size_t>(allowed));
    countRead(n, faulty);
    return n;
}

void maybeKill()
{
    if (g_killAtRename.load())
        ::raise(SIGKILL);
}

}

// The interposed calls: the test executable's definitions come before the C library's for
// every caller, Qt and the dlopen'ed unzip library included.
extern "C" {

ssize_t read(int fd, void *buffer, size_t count)
{
    static const auto real = realFunction<ssize_t (*)(int, void *, size_t)>("read");
    if (!g_readArmed.load(std::memory_order_acquire))
        return real(fd, buffer, count);
    return faultyRead(fd, count, [&](size_t n) { return real(fd, buffer, n); });
}

ssize_t __read_chk(int fd, void *buffer, size_t count, size_t)
{
    return read(fd, buffer, count);
}

ssize_t pread64(int fd, void *buffer, size_t count, off_t offset)
{
    static const auto real = realFunction<ssize_t (*)(int, void *, size_t, off_t)>("pread64");
    if (!g_readArmed.load(std::memory_order_acquire))
        return real(fd, buffer, count, offset);
    return faultyRead(fd, count, [&](size_t n) { return real(fd, buffer, n, offset); });
}

ssize_t pread(int fd, void *buffer, size_t count, off_t offset)
{
    return pread64(fd, buffer, count, offset);
}

// libzip reads archives through stdio, whose own reads do not come through read().
size_t fread(void *buffer, size_t size, size_t count, FILE *stream)
{
    static const auto real = realFunction<size_t (*)(void *, size_t, size_t, FILE *)>("fread");
    if (!g_readArmed.load(std::memory_order_acquire) || size == 0)
        return real(buffer, size, count, stream);
    const ssize_t n = faultyRead(::fileno(stream), size * count, [&](size_t bytes) {
        return static_cast<ssize_t>(real(buffer, 1, bytes, stream));
    });
    return n < 0 ? 0 : static_cast<size_t>(n) / size;
}

int rename(const char *from, const char *to)
{
    static const auto real = realFunction<int (*)(const char *, const char *)>("rename");
    maybeKill();
    return real(from, to);
}

int renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    static const auto real = realFunction<int (*)(int, const char *, int, const char *)>("renameat");
    maybeKill();
    return real(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned flags)
{
    static const auto real = realFunction<int (*)(int, const char *, int, const char *, unsigned)>("renameat2");
    maybeKill();
    return real(fromFolder, from, toFolder, to, flags);
}

int linkat(int fromFolder, const char *from, int toFolder, const char *to, int flags)
{
    static const auto real = realFunction<int (*)(int, const char *, int, const char *, int)>("linkat");
    maybeKill();
    return real(fromFolder, from, toFolder, to, flags);
}

}

namespace fault {

bool mountsAvailable()
{
    return g_namespaceError[0] == 0;
}

QString mountsUnavailableReason()
{
    return QString::fromLocal8Bit(g_namespaceError);
}

Tmpfs::Tmpfs(const QString &folder, qint64 bytes)
    : m_folder(folder)
{
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    m_mounted = mountsAvailable() &&
                ::mount("glyvanta-test", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

Tmpfs::~Tmpfs()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool Tmpfs::makeReadOnly()
{
    return m_mounted && ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

ReadOnlyFolder::ReadOnlyFolder(const QString &folder)
    : m_folder(folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (!mountsAvailable() || ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        return;
    m_mounted = true;
    if (::mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        ::umount2(path.constData(), MNT_DETACH);
        m_mounted = false;
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

ReadFaultGuard::ReadFaultGuard(const QString &path, qint64 after, ReadFault what)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &info) != 0)
        return;
    std::lock_guard lock(g_readMutex);
    g_readDevice = info.st_dev;
    g_readInode = info.st_ino;
    g_readAfter = after;
    g_readSeen = 0;
    g_readWhat = what;
    g_readPath = name;
    g_readFired = false;
    g_readArmed.store(true, std::memory_order_release);
}

ReadFaultGuard::~ReadFaultGuard()
{
    g_readArmed.store(false, std::memory_order_release);
}

bool ReadFaultGuard::fired() const
{
    return g_readFired.load();
}

void killAtNextRename()
{
    g_killAtRename = true;
}

}
