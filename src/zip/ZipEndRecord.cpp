// SPDX-License-Identifier: MIT
#include "ZipEndRecord.h"

#include "NativeFile.h"

#include <algorithm>

using namespace zipformat;

void parseEndRecord(const std::uint8_t *p, ZipEndOfCentral &eoc)
{
    eoc.HeaderSig = u32le(p);
    eoc.ThisDiskNo = u16le(p + 4);
    eoc.CentralDirStartDisk = u16le(p + 6);
    eoc.EntriesOnThisDisk = u16le(p + 8);
    eoc.TotalEntries = u16le(p + 10);
    eoc.CentralDirSize = u32le(p + 12);
    eoc.CentralDirOffset = u32le(p + 16);
    eoc.ZipCommentLen = u16le(p + 20);
}

bool startsSplitArchive(ByteSource &volume)
{
    std::uint8_t head[8] = {};
    return volume.readExact(0, 8, head) && u32le(head) == SpanSig && u32le(head + 4) == LocalSig;
}

namespace {

// The last record in the last 65557 bytes: an archive comment may itself hold the signature, so
// the search goes from the end backwards and takes the first one found.
EndRecordSearch searchBackwards(ByteSource &volume, qint64 size)
{
    EndRecordSearch result;
    const qint64 block = std::min(size, SearchBlock);
    QByteArray buffer(block, '\0');
    auto *p = reinterpret_cast<std::uint8_t *>(buffer.data());
    if (block > 0 && !volume.readExact(static_cast<std::uint64_t>(size - block), static_cast<std::size_t>(block), p))
        throw EZipKit(11011, true);
    qint64 match = block - EndSize;
    while (match >= 0 && u32le(p + match) != EndSig)
        --match;
    if (match < 0)
        return result;
    result.found = true;
    result.position = size - block + match;
    parseEndRecord(p + match, result.eoc);
    result.trailingBytes = block - (match + result.eoc.ZipCommentLen + EndSize);
    // Zeros that fill the file to a 512-byte block are padding, not data after the archive.
    bool padding = result.trailingBytes > 0 && result.trailingBytes < 512 && size % 512 == 0;
    for (qint64 i = block - result.trailingBytes; padding && i < block; ++i)
        padding = p[i] == 0;
    result.trailingIsPadding = padding;
    if (result.eoc.ZipCommentLen > 0) {
        const QByteArray comment = buffer.mid(match + EndSize, result.eoc.ZipCommentLen);
        const qsizetype zero = comment.indexOf('\0');
        result.comment = zero < 0 ? comment : comment.left(zero);
    }
    return result;
}

}

EndRecordSearch findEndRecord(ByteSource &volume, qint64 size)
{
    std::uint8_t record[EndSize];
    if (size >= EndSize && volume.readExact(static_cast<std::uint64_t>(size - EndSize), EndSize, record) && u32le(record) == EndSig
        && u16le(record + 20) == 0) {
        EndRecordSearch result;
        result.found = true;
        result.position = size - EndSize;
        parseEndRecord(record, result.eoc);
        return result;
    }
    return searchBackwards(volume, size);
}

void applyZip64End(ByteSource &volume, qint64 endPosition, ZipEndOfCentral &eoc)
{
    eoc.DirectoryEnd = endPosition;
    if (endPosition < 20)
        return;
    std::uint8_t locator[20];
    std::uint8_t end64[56];
    if (!volume.readExact(static_cast<std::uint64_t>(endPosition - 20), 20, locator) || u32le(locator) != Zip64LocatorSig)
        return;
    const quint64 at = u64le(locator + 8);
    if (at >= static_cast<quint64>(endPosition) || !volume.readExact(at, 56, end64) || u32le(end64) != Zip64EndSig)
        return;
    // No file is 2^62 bytes long: larger values are damage, and bounding them keeps the position
    // arithmetic of the reader from overflowing. (Found by fuzzing.)
    constexpr quint64 kLimit = quint64(1) << 62;
    if (eoc.TotalEntries == 0xFFFF)
        eoc.TotalEntries = std::min(u64le(end64 + 32), kLimit);
    if (eoc.CentralDirSize == 0xFFFFFFFF)
        eoc.CentralDirSize = std::min(u64le(end64 + 40), kLimit);
    if (eoc.CentralDirOffset == 0xFFFFFFFF)
        eoc.CentralDirOffset = std::min(u64le(end64 + 48), kLimit);
    eoc.DirectoryEnd = static_cast<qint64>(at);
}

namespace {

struct Probe {
    ByteSource &file;
    int bits = 0;

    bool read(qint64 at, std::uint8_t *buffer, std::size_t n) { return at >= 0 && file.readExact(static_cast<std::uint64_t>(at), n, buffer); }

    void readHead()
    {
        std::uint8_t head[4] = {};
        if (!read(0, head, 4))
            return;
        if (head[0] == 'M' && head[1] == 'Z')
            bits |= 0x01;
        const quint32 sig = u32le(head);
        bits |= sig == LocalSig ? 0x02 : sig == SpanSig ? 0x04 : sig == CentralSig ? 0x08 : 0;
    }

    // The directory at its stored offset (0x40) and its first entry's local header (0x20); false
    // when the directory starts on another volume and nothing could be checked.
    bool checkDirectory(const std::uint8_t *end)
    {
        ZipEndOfCentral eoc;
        parseEndRecord(end, eoc);
        if (eoc.ThisDiskNo != eoc.CentralDirStartDisk)
            return false;
        std::uint8_t central[CentralHeaderSize];
        if (read(static_cast<qint64>(eoc.CentralDirOffset), central, CentralHeaderSize) && u32le(central) == CentralSig) {
            bits |= 0x40;
            std::uint8_t local[4];
            if (u16le(central + 34) == eoc.ThisDiskNo && read(u32le(central + 42), local, 4) && u32le(local) == LocalSig)
                bits |= 0x20;
        }
        return true;
    }

    void scanBackwards(qint64 size)
    {
        const qint64 block = std::min(size, SearchBlock);
        QByteArray buffer(block, '\0');
        auto *p = reinterpret_cast<std::uint8_t *>(buffer.data());
        if (block <= 0 || !read(size - block, p, static_cast<std::size_t>(block)))
            return;
        for (qint64 at = block - EndSize - 1; at >= 0; --at) {
            if (u32le(p + at) != EndSig)
                continue;
            bits |= 0x80;
            if (at + EndSize + u16le(p + at + 20) == block)
                bits |= 0x10;
            if (checkDirectory(p + at))
                break;
            bits &= 0x1F;
        }
    }
};

}

int queryZipFile(const QString &fileName)
{
    RegularFile file(fileName);
    if (!file.isOpen())
        return -7;
    const qint64 size = file.size();
    ByteSource source = ByteSource::fromFile(file.fd());
    Probe probe{source};
    probe.readHead();
    std::uint8_t last[EndSize];
    bool atEnd = false;
    if (size >= EndSize && probe.read(size - EndSize, last, EndSize) && u32le(last) == EndSig) {
        atEnd = true;
        probe.bits |= 0x80 | (u16le(last + 20) == 0 ? 0x10 : 0);
        if (probe.checkDirectory(last))
            return probe.bits;
    }
    probe.bits &= 0x1F;
    probe.scanBackwards(size);
    if (atEnd)
        probe.bits |= 0x80;
    return probe.bits;
}
