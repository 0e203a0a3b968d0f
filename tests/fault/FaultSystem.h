// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Faults the tests cannot get from an ordinary folder when they run as root: real small and
// read-only file systems, mounted in a mount namespace of the test process's own, and
// interposed system calls that fail reads of one file or kill the process as it renames.
namespace fault {

// Whether this process has its own mount namespace (entered before main); why not if not.
bool mountsAvailable();
QString mountsUnavailableReason();

// A tmpfs of the given size mounted on a folder (created if need be) until destruction.
class Tmpfs {
public:
    Tmpfs(const QString &folder, qint64 bytes);
    ~Tmpfs();
    Tmpfs(const Tmpfs &) = delete;
    Tmpfs &operator=(const Tmpfs &) = delete;
    bool mounted() const { return m_mounted; }
    // Remounts it read-only.
    bool makeReadOnly();

private:
    QString m_folder;
    bool m_mounted = false;
};

// An existing folder made read-only, with its content, by a bind mount over itself.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

enum class ReadFault {
    Error,      // reads fail with EIO, as on a medium that went away
    Truncate,   // the file is cut to that length, as by another program
    Unlink,     // the file is deleted by another program
};

// Once `after` bytes of the file have been read (through any descriptor), `what` happens.
// Lasts until the guard goes.
class ReadFaultGuard {
public:
    ReadFaultGuard(const QString &path, qint64 after, ReadFault what);
    ~ReadFaultGuard();
    ReadFaultGuard(const ReadFaultGuard &) = delete;
    ReadFaultGuard &operator=(const ReadFaultGuard &) = delete;
    bool fired() const;
};

// The process kills itself with SIGKILL at its next rename or link of a file into place: for a
// forked child, to die between writing a file and renaming it.
void killAtNextRename();

}
