// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "NativeFile.h"

// Files that are not regular files, and one too large for any store, made under a path given as
// text (so that it may hold the escapes of a name that is not UTF-8).
inline bool makeFifo(const QString &path)
{
    return ::mkfifo(nativePath(path).constData(), 0644) == 0;
}
// A link to /dev/zero: a file that never ends.
inline bool makeDeviceLink(const QString &path)
{
    return ::symlink("/dev/zero", nativePath(path).constData()) == 0;
}
// A file of the given size that takes no room on disk.
inline bool makeSparseFile(const QString &path, qint64 size)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool sized = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return sized;
}
// The type bits of what is at a path (not following a link), 0 when nothing is there.
inline mode_t nodeType(const QString &path)
{
    struct stat info {};
    return ::lstat(nativePath(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}
inline qint64 nodeSize(const QString &path)
{
    struct stat info {};
    return ::lstat(nativePath(path).constData(), &info) == 0 ? info.st_size : -1;
}

// Keeps a test whose code under test wrongly waits on a FIFO from hanging the suite. If the
// guarded code has not finished within the patience, the watchdog gives each FIFO a writer that
// closes at once, again and again, so that a blocking open returns and a blocking read sees the
// end of the data; fired() then tells the test that the code had blocked.
class FifoWatchdog {
public:
    explicit FifoWatchdog(QList<QByteArray> fifos, std::chrono::milliseconds patience = std::chrono::seconds(5))
        : m_fifos(std::move(fifos))
        , m_thread([this, patience] { watch(patience); })
    {
    }
    ~FifoWatchdog() { stop(); }
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;

    // Ends the watch; true when the guarded code had to be released.
    bool stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_fired;
    }
    bool fired() const { return m_fired; }

private:
    void watch(std::chrono::milliseconds patience)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, patience, [this] { return m_stopped; }))
            return;
        m_fired = true;
        while (!m_stopped) {
            for (const QByteArray &fifo : m_fifos) {
                // Read and write at once: never blocks, and counts as the writer a reader waits for.
                const int fd = ::open(fifo.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_stopped; });
        }
    }

    QList<QByteArray> m_fifos;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    std::atomic<bool> m_fired = false;
    std::thread m_thread;
};
