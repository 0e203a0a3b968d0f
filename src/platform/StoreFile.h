// SPDX-License-Identifier: MIT
#pragma once

#include "NativeFile.h"

#include <QByteArray>
#include <QString>

// The largest settings or favourites file that is read. Real ones hold a few hundred bytes to a
// few MB; past this the file is not one of ours (a disk image or a device linked in its place)
// and is refused before anything is allocated.
constexpr qint64 kStoreSizeLimit = qint64(32) << 20;

// "32 MB", "100 bytes".
QString sizeLimitText(qint64 bytes);
// Why a file was not read, as words that follow "could not be read (" or a colon.
QString refusalReason(FileRefusal why, qint64 limit);

// A store's file as found on disk.
struct StoreContent {
    enum class State { Read, Missing, Refused };
    State state = State::Missing;
    QByteArray bytes;
    QString reason;   // when refused
};

// Reads the file of a store without ever blocking. An absent file is Missing (an empty store
// that the first write creates). Anything else that is not a regular file of at most limit bytes
// (a FIFO, a device, a folder, a file that may not be read, one too large) is Refused: its
// content is unknown, so the store must leave it as it is and never write over it.
StoreContent readStoreFile(const QString &path, qint64 limit);
