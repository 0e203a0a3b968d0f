// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Questions about paths asked on their native bytes. A path from a folder listing may hold the
// escapes of a name that is not UTF-8 (see NativeFile.h); Qt's file classes would ask about
// another file, so everything that can see a listed name asks here.

// Something is there under that name, a dangling link included.
bool pathExists(const QString &path);
bool isDirectory(const QString &path);
bool isRegularFile(const QString &path);
bool isSymLink(const QString &path);

struct PathInfo {
    qint64 size = 0;
    QDateTime lastWrite;   // in universal time
    bool writable = false;
    bool symLink = false;
    QString linkTarget;    // of a link, as stored in it
};
// What lstat and stat tell of a path (links followed for size and time); nothing when absent.
std::optional<PathInfo> pathInfo(const QString &path);

// The last component of a path, taken as it stands (no trailing "/" expected).
QString fileNameOf(const QString &path);
// The folder part of a path, with its trailing "/".
QString folderOf(const QString &path);
// A path as text to show: each escaped byte becomes U+FFFD, so that no lone surrogate reaches
// a label or a message.
QString displayPath(const QString &path);
