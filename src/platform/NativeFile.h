// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// File names on this system are bytes, not text. A name that is not UTF-8 keeps each byte that
// cannot be decoded as a lone surrogate U+DC80..U+DCFF, so that two names never map to one
// string and every string maps back to the bytes it came from. Qt's own file classes would turn
// such a surrogate into U+FFFD, the name of another file: paths that may hold one go through
// nativePath, never through QFile::encodeName.
QString pathFromNative(QByteArrayView bytes);
QByteArray nativePath(QStringView path);

// Why a file was not opened or read.
enum class FileRefusal {
    None,
    Missing,      // no such file, or no permission to open it
    NotRegular,   // a folder, FIFO, socket or device: never read as a font, store or archive
    TooLarge,     // larger than the caller's limit
    Unreadable,   // a read failed
};

// A file opened for reading that is known to be a regular file. The open never blocks (a FIFO
// would wait for a writer forever) and the check is made on the opened descriptor, so a name
// swapped after the check cannot slip a device in.
class RegularFile {
public:
    explicit RegularFile(const QString &path);
    ~RegularFile();
    RegularFile(RegularFile &&other) noexcept;
    RegularFile &operator=(RegularFile &&other) noexcept;
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    FileRefusal refusal() const { return m_refusal; }
    int fd() const { return m_fd; }
    // The size when the file was opened.
    qint64 size() const { return m_size; }
    // The whole file, when it holds at most limit bytes (checked against what is really read,
    // not only the size found at open, since a file may grow meanwhile).
    std::optional<QByteArray> readAll(qint64 limit);
    // Gives the descriptor to the caller, who closes it.
    int release();

private:
    int m_fd = -1;
    qint64 m_size = 0;
    FileRefusal m_refusal = FileRefusal::None;
};

// The content of a regular file of at most limit bytes; nothing, with the reason, otherwise.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit, FileRefusal *why = nullptr);
