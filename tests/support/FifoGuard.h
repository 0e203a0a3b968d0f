// SPDX-License-Identifier: MIT
#pragma once

#include "NativeFile.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO for a test of code that must never wait on one. Should the code under test block in
// open() anyway, the guard opens the other end after a while, so that the test fails (fired())
// instead of hanging.
class FifoGuard {
public:
    explicit FifoGuard(const QString &path, std::chrono::milliseconds patience = std::chrono::seconds(3))
        : m_path(nativePath(path))
    {
        m_made = ::mkfifo(m_path.constData(), 0644) == 0;
        m_thread = std::thread([this, patience] { watch(patience); });
    }
    ~FifoGuard()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        ::unlink(m_path.constData());
    }
    FifoGuard(const FifoGuard &) = delete;
    FifoGuard &operator=(const FifoGuard &) = delete;

    bool made() const { return m_made; }
    // Whether the code under test had to be released from the FIFO.
    bool fired() const { return m_fired; }

private:
    void watch(std::chrono::milliseconds patience)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, patience, [this] { return m_done; }))
            return;
        // Someone waits on the FIFO: a writer that comes and goes releases every reader.
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; })) {
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_fired = true;
                ::close(fd);
            }
        }
    }

    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_fired = false;
    bool m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};
