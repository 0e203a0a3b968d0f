// SPDX-License-Identifier: MIT
#pragma once

// Finding an archive's end-of-central-directory record in the bytes of one volume. Every read
// goes through a ByteSource: nothing past the volume's end is read, and a read that comes up
// short is a record not found (or, for the search block, error 11011).

#include "ByteSource.h"
#include "ZipDirectory.h"

namespace zipformat {
constexpr quint32 EndSig = 0x06054B50;
constexpr quint32 CentralSig = 0x02014B50;
constexpr quint32 LocalSig = 0x04034B50;
constexpr quint32 SpanSig = 0x08074B50;
constexpr quint32 Zip64EndSig = 0x06064B50;
constexpr quint32 Zip64LocatorSig = 0x07064B50;
constexpr qint64 EndSize = 22;
constexpr qint64 CentralHeaderSize = 46;
// The largest comment and the record: the end record is never further from the end.
constexpr qint64 SearchBlock = 65535 + EndSize;

inline quint64 u64le(const std::uint8_t *p)
{
    return quint64(u32le(p)) | quint64(u32le(p + 4)) << 32;
}
}

// The 22 bytes of an end record.
void parseEndRecord(const std::uint8_t *p, ZipEndOfCentral &eoc);

// Whether a volume starts with the spanning marker followed by a local header: the first volume
// of a split archive.
bool startsSplitArchive(ByteSource &volume);

struct EndRecordSearch {
    bool found = false;
    ZipEndOfCentral eoc;
    qint64 position = 0;              // of the record in the volume
    qint64 trailingBytes = 0;         // after the record and its comment
    bool trailingIsPadding = false;   // fewer than 512 zero bytes filling the last 512-byte block
    QByteArray comment;               // up to its first zero byte
};

// The end record of a volume of size bytes: in its last 22 bytes when it has no comment, else
// the last record in its last 65557 bytes. A search block that cannot be read raises 11011.
EndRecordSearch findEndRecord(ByteSource &volume, qint64 size);

// Where a Zip64 locator lies right before the end record, the counts, size and offset that the
// classic record leaves full are taken from the Zip64 end record, and the directory ends there.
void applyZip64End(ByteSource &volume, qint64 endPosition, ZipEndOfCentral &eoc);

// The probe bits of a file (0x01 "MZ" ... 0x80 end record found), -7 when it cannot be opened.
int queryZipFile(const QString &fileName);
