// SPDX-License-Identifier: MIT
#pragma once

// The volumes of an archive: which file holds the end record, the names of the other volumes
// (set.z01 ... set.zip, or set001.zip ...), opening them, and asking for a disk where a
// removable drive needs another one. Asking and telling go through the read host; volumes are
// opened without blocking and only when they are regular files.

#include "ByteSource.h"
#include "ZipDirectory.h"

class ZipVolumes {
public:
    ZipVolumes(ZipDirectoryState &state, const ZipReadOptions &options, ZipReadHost &host);
    ~ZipVolumes();
    ZipVolumes(const ZipVolumes &) = delete;
    ZipVolumes &operator=(const ZipVolumes &) = delete;

    // Finds the volume holding the end record and reads the record into eoc: 0 found, 1 nothing
    // to read (no archive, or the user cancelled), -1 error (told unless quiet, except a file
    // that is no archive on a fixed drive, which is always told).
    int GetLastVolume(const QString &name, ZipEndOfCentral &eoc, bool quiet);
    // Opens VolumeName and finds its end record.
    bool OpenEOC(ZipEndOfCentral &eoc, bool raiseErrors);
    // Closes the current volume and opens volume diskNo, asking for its disk where needed.
    void GetNewDisk(int diskNo);
    void CheckForDisk();

    // The open volume: its bytes, its size, and a number that changes with every open (a new
    // volume may get the descriptor of the one before).
    ByteSource bytes() const { return ByteSource::fromFile(m_file); }
    bool readAt(qint64 offset, void *buffer, qint64 length) const;
    qint64 size() const;
    int serial() const { return m_serial; }
    void closeVolume();

    // The archive comment found with the end record, as stored.
    const QByteArray &comment() const { return m_comment; }
    void clearComment() { m_comment.clear(); }

private:
    bool openVolume();
    QString volumeNameFor(int diskNo) const;
    int volumeNumber() const;
    int findNamedVolume(const QString &full, bool quiet, int &lastNumbered);
    int keepAskingForLastVolume(ZipEndOfCentral &eoc, bool nameNotFound, int lastNumbered);

    ZipDirectoryState &m_state;
    const ZipReadOptions &m_options;
    ZipReadHost &m_host;
    QByteArray m_comment;
    int m_file = -1;
    int m_serial = 0;
};
