// SPDX-License-Identifier: MIT
#pragma once

// The records of an archive's central directory and the state that reading it leaves, shared by
// the directory reader, the volumes it reads from and the component that publishes them. QtCore
// only: nothing here shows anything.

#include "ZipMessages.h"

#include <QByteArray>
#include <QString>

#include <vector>

// One file of an archive's central directory.
struct ZipDirEntry {
    quint8 VersionMadeBy = 0;
    quint8 HostSystem = 0;
    quint16 VersionNeeded = 0;
    quint16 GeneralFlags = 0;
    quint16 CompressionMethod = 0;
    quint16 ModTime = 0;
    quint16 ModDate = 0;
    quint32 Crc32 = 0;
    quint64 CompressedSize = 0;      // the true size, from the Zip64 extra field where there is one
    quint64 UncompressedSize = 0;
    quint16 FileNameLength = 0;
    quint16 ExtraFieldLength = 0;
    quint16 FileCommentLength = 0;
    quint32 DiskNumberStart = 0;
    quint16 InternalAttributes = 0;
    quint32 ExternalAttributes = 0;
    quint64 LocalHeaderOffset = 0;
    QString FileName;                // with "\" separators
    QByteArray StoredName;           // the name's bytes as stored, for finding this very entry again
    quint32 DirIndex = 0;            // place of its header in the central directory, every header counted
    QByteArray FileComment;
    bool Encrypted = false;
    QByteArray ExtraData;
};

struct ZipEndOfCentral {
    quint32 HeaderSig = 0;
    quint16 ThisDiskNo = 0;
    quint16 CentralDirStartDisk = 0;
    quint16 EntriesOnThisDisk = 0;
    quint64 TotalEntries = 0;        // from the Zip64 end record where the classic one is full
    quint64 CentralDirSize = 0;
    quint64 CentralDirOffset = 0;
    quint16 ZipCommentLen = 0;
    qint64 DirectoryEnd = 0;         // where the central directory ends (the end record, or the Zip64 one)
};

// The name with every '/' made '\' (toForward false), or every '\' made '/'. Taken by value: a
// name decoded just for this is changed in place, not copied.
inline QString zipSlashes(QString text, bool toForward)
{
    return toForward ? text.replace(QLatin1Char('\\'), QLatin1Char('/')) : text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// The component's properties that decide how an archive is read.
struct ZipReadOptions {
    enum CPOpts { cpAUTO = 0, cpNone = 1, cpOEM = 2 };
    enum SpanOpt { spNoVolumeName = 1, spCompatName = 2, spWipeFiles = 4, spTryFormat = 8 };

    bool UseDirOnlyEntries = false;
    CPOpts CodePage = cpAUTO;
    int SpanOptions = 0;
    bool Unattended = false;
};

// What reading a directory leaves: the entries, where the directory was, and the volume being
// read (its name, the medium's label, whether the drive is fixed).
struct ZipDirectoryState {
    std::vector<ZipDirEntry> DirEntries;
    bool Spanned = false;
    int LastDiskNo = 0;
    int CurrentDiskNo = 0;
    qint64 ArchiveFileSize = 0;
    qint64 RawFileSize = 0;
    qint64 EOCPos = 0;
    qint64 CentralDirPos = 0;
    bool OffsetMismatch = false;
    qint64 LeadingBytes = 0;
    int DroppedDirCount = 0;
    QString VolumeName;
    QString VolumeLabel;
    bool DriveIsFixed = true;
};

// What reading asks of the component around it: telling the user, the message texts, the disk
// prompt and the component's events. The component shows boxes; reading never does.
class ZipReadHost {
public:
    virtual ~ZipReadHost() = default;
    // A message by id (with the extra text after it), and a caught error.
    virtual void showMessage(int id, const QString &extra) = 0;
    virtual void showError(const EZipKit &error) = 0;
    // An error swallowed without a word still leaves its id as the last one.
    virtual void keepErrorId(int id) = 0;
    // The text of an id, or the fallback when there is none.
    virtual QString messageText(int id, const QString &fallback) = 0;
    // The component's handler for a new disk, when it has one (false when not).
    virtual bool nextDiskEvent(int diskSeqNo, int diskTotal, const QString &drive, bool &cancel) = 0;
    // Asks for a disk in a box; true when the user refused.
    virtual bool diskPromptRefused(const QString &prompt, bool lastDisk) = 0;
    // An entry kept in the list, numbered among all headers from 1.
    virtual void entryListed(int seqNo, const ZipDirEntry &entry) = 0;
};
