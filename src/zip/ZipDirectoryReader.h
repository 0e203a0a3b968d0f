// SPDX-License-Identifier: MIT
#pragma once

// Reads an archive's central directory into ZipDirEntry records. Every header, name, extra
// field and comment is read through a bounded source: a directory that claims more than its
// volumes hold ends with an error, never with a read past a volume or an allocation of the size
// it claims. Entries read before a fault are kept; the fault is given back to the caller, who
// decides how to tell it. Nothing here shows anything or needs a window.

#include "ZipDirectory.h"

#include <optional>

class ZipVolumes;

// Why a read ended early: one of the component's errors, memory running out, or another
// exception with its own text.
struct ZipFault {
    enum class Kind { None, Error, OutOfMemory, Other };
    Kind kind = Kind::None;
    std::optional<EZipKit> error;
    QString text;

    explicit operator bool() const { return kind != Kind::None; }
};

class ZipDirectoryReader {
public:
    ZipDirectoryReader(ZipDirectoryState &state, const ZipReadOptions &options, ZipVolumes &volumes, ZipReadHost &host);

    // Reads the directory that eoc describes, starting from the volume that holds eoc, into
    // DirEntries; tells each entry kept to the host as it is read, and warns through it when
    // the directory is not where the record says. After a fault LeadingBytes means nothing.
    ZipFault read(const ZipEndOfCentral &eoc);

    // A stored name as text: names flagged as UTF-8, and names of other hosts that are valid
    // UTF-8, stay UTF-8; DOS, OS/2 and NTFS names are in the OEM code page. Separators become '\'.
    static QString decodeName(QByteArrayView stored, quint8 hostSystem, quint8 versionMadeBy, quint16 flags, ZipReadOptions::CPOpts codePage);

private:
    qint64 locateDirectory(const ZipEndOfCentral &eoc);
    void readEntries(const ZipEndOfCentral &eoc, qint64 position);

    ZipDirectoryState &m_state;
    const ZipReadOptions &m_options;
    ZipVolumes &m_volumes;
    ZipReadHost &m_host;
};
