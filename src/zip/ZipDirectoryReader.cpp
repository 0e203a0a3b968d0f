// SPDX-License-Identifier: MIT
#include "ZipDirectoryReader.h"

#include "ByteSource.h"
#include "CodePage.h"
#include "ZipEndRecord.h"
#include "ZipVolumes.h"

#include <QStringDecoder>

#include <algorithm>

using namespace zipformat;

namespace {

bool validUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// Zip64 sizes and offset from the extra field, in the order the fields were full in the header.
void applyZip64(ZipDirEntry &e, const QByteArray &extra)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(extra.constData());
    qsizetype at = 0;
    while (at + 4 <= extra.size()) {
        const quint16 id = u16le(p + at);
        const quint16 size = u16le(p + at + 2);
        if (at + 4 + size > extra.size())
            return;
        if (id == 0x0001) {
            qsizetype f = at + 4;
            const qsizetype end = f + size;
            auto take = [&](quint64 &field) {
                if (f + 8 <= end) {
                    field = u64le(p + f);
                    f += 8;
                }
            };
            if (e.UncompressedSize == 0xFFFFFFFF)
                take(e.UncompressedSize);
            if (e.CompressedSize == 0xFFFFFFFF)
                take(e.CompressedSize);
            if (e.LocalHeaderOffset == 0xFFFFFFFF)
                take(e.LocalHeaderOffset);
            if (e.DiskNumberStart == 0xFFFF && f + 4 <= end)
                e.DiskNumberStart = u32le(p + f);
            return;
        }
        at += 4 + size;
    }
}

// The 42 bytes after a central header's signature.
ZipDirEntry entryFromHeader(const std::uint8_t *header)
{
    ZipDirEntry e;
    e.VersionMadeBy = header[4];
    e.HostSystem = header[5];
    e.VersionNeeded = u16le(header + 6);
    e.GeneralFlags = u16le(header + 8);
    e.CompressionMethod = u16le(header + 10);
    e.ModTime = u16le(header + 12);
    e.ModDate = u16le(header + 14);
    e.Crc32 = u32le(header + 16);
    e.CompressedSize = u32le(header + 20);
    e.UncompressedSize = u32le(header + 24);
    e.FileNameLength = u16le(header + 28);
    e.ExtraFieldLength = u16le(header + 30);
    e.FileCommentLength = u16le(header + 32);
    e.DiskNumberStart = u16le(header + 34);
    e.InternalAttributes = u16le(header + 36);
    e.ExternalAttributes = u32le(header + 38);
    e.LocalHeaderOffset = u32le(header + 42);
    return e;
}

bool directoryOnly(const QString &name)
{
    const qsizetype length = name.size();
    return length > 0 && (name.at(length - 1) == QLatin1Char('\\') || name.at(length - 1) == QLatin1Char(':'));
}

// The directory's bytes in order. A directory that lies whole in one volume is read with one
// read; one that spans volumes through a cache of large blocks, moving to the next volume where
// a header does not fit in the one before. Either way, not one call per field.
class DirectoryCursor {
public:
    DirectoryCursor(ZipVolumes &volumes, ZipDirectoryState &state, const ZipEndOfCentral &eoc, qint64 position)
        : m_volumes(volumes)
        , m_state(state)
        , m_cursor(position)
    {
        if (eoc.ThisDiskNo == eoc.CentralDirStartDisk && eoc.CentralDirSize <= static_cast<quint64>(state.ArchiveFileSize)) {
            m_whole.resize(static_cast<qsizetype>(eoc.CentralDirSize));
            if (!volumes.readAt(position, m_whole.data(), m_whole.size()))
                m_whole.truncate(0);
        }
        m_inMemory = !m_whole.isEmpty();
        m_base = m_inMemory ? position : 0;
        m_source = m_inMemory ? ByteSource::fromMemory({reinterpret_cast<const std::uint8_t *>(m_whole.constData()), static_cast<size_t>(m_whole.size())})
                              : volumes.bytes();
        m_sourceVolume = volumes.serial();
    }

    void header(std::uint8_t (&out)[CentralHeaderSize])
    {
        for (;;) {
            followVolume();
            if (m_source.readExact(static_cast<quint64>(m_cursor - m_base), CentralHeaderSize, out))
                break;
            if (m_state.CurrentDiskNo >= m_state.LastDiskNo || m_inMemory)
                throw EZipKit(11013, true);
            m_volumes.GetNewDisk(m_state.CurrentDiskNo + 1);
            m_cursor = 0;
        }
        m_cursor += CentralHeaderSize;
    }

    // The next length bytes; straight from the directory in memory where they lie there.
    QByteArrayView take(qint64 length, QByteArray &buffer, int errorId)
    {
        if (m_inMemory && m_cursor - m_base + length <= m_whole.size()) {
            const QByteArrayView view(m_whole.constData() + (m_cursor - m_base), length);
            m_cursor += length;
            return view;
        }
        read(buffer, length, errorId);
        return buffer;
    }

    void read(QByteArray &into, qint64 length, int errorId)
    {
        followVolume();
        if (length == 0) {
            into.clear();
            return;
        }
        into.resize(length);
        if (!m_source.readExact(static_cast<quint64>(m_cursor - m_base), static_cast<size_t>(length), reinterpret_cast<std::uint8_t *>(into.data())))
            throw EZipKit(errorId, true);
        m_cursor += length;
    }

private:
    // A volume opened since: what was cached of the one before is never taken for its bytes.
    void followVolume()
    {
        if (m_sourceVolume != m_volumes.serial()) {
            m_source = m_volumes.bytes();
            m_sourceVolume = m_volumes.serial();
        }
    }

    ZipVolumes &m_volumes;
    ZipDirectoryState &m_state;
    QByteArray m_whole;
    bool m_inMemory = false;
    ByteSource m_source = ByteSource::fromMemory({});
    int m_sourceVolume = 0;
    qint64 m_base = 0;
    qint64 m_cursor = 0;
};

}

ZipDirectoryReader::ZipDirectoryReader(ZipDirectoryState &state, const ZipReadOptions &options, ZipVolumes &volumes, ZipReadHost &host)
    : m_state(state)
    , m_options(options)
    , m_volumes(volumes)
    , m_host(host)
{
}

QString ZipDirectoryReader::decodeName(QByteArrayView stored, quint8 hostSystem, quint8 versionMadeBy, quint16 flags, ZipReadOptions::CPOpts codePage)
{
    const bool oemHost = hostSystem == 0 || hostSystem == 6 || (hostSystem == 11 && versionMadeBy == 50);
    const bool ascii = std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    QString decoded;
    if (ascii)
        decoded = QString::fromLatin1(stored);
    else if (flags & 0x0800)
        decoded = QString::fromUtf8(stored);
    else if (codePage == ZipReadOptions::cpOEM || (codePage == ZipReadOptions::cpAUTO && oemHost))
        decoded = CodePage::decode("CP437", stored.toByteArray());
    else
        decoded = validUtf8(stored) ? QString::fromUtf8(stored) : QString::fromLatin1(stored);
    return zipSlashes(std::move(decoded), false);
}

// Where the directory really is: counted back from the end record when both lie on one volume,
// so that data ahead of the archive is allowed; else at its stored offset on its own volume.
qint64 ZipDirectoryReader::locateDirectory(const ZipEndOfCentral &eoc)
{
    // A directory said to start past the last volume would open a volume that is not part of the set.
    if (eoc.CentralDirStartDisk > eoc.ThisDiskNo)
        throw EZipKit(11013, true);
    qint64 position = 0;
    if (eoc.ThisDiskNo == eoc.CentralDirStartDisk) {
        position = eoc.DirectoryEnd - static_cast<qint64>(eoc.CentralDirSize);
    } else {
        m_volumes.GetNewDisk(eoc.CentralDirStartDisk);
        m_state.ArchiveFileSize = m_volumes.size();
        position = static_cast<qint64>(eoc.CentralDirOffset);
    }
    if (position != static_cast<qint64>(eoc.CentralDirOffset)) {
        m_state.OffsetMismatch = true;
        m_host.showMessage(10203, QString());
    }
    if (position < 0)
        throw EZipKit(10201, true);
    m_state.CentralDirPos = position;
    m_state.LeadingBytes = m_state.ArchiveFileSize == EndSize ? 0 : m_state.ArchiveFileSize;
    return position;
}

void ZipDirectoryReader::readEntries(const ZipEndOfCentral &eoc, qint64 position)
{
    // Every header needs 46 bytes: a count the directory cannot hold is damage, not a reason to
    // reserve memory for it. (Found by fuzzing: a Zip64 size can claim more than the file holds.)
    const quint64 directoryBytes = std::min<quint64>(eoc.CentralDirSize, static_cast<quint64>(std::max<qint64>(m_state.ArchiveFileSize, 0)));
    m_state.DirEntries.reserve(static_cast<size_t>(std::min<quint64>(eoc.TotalEntries, directoryBytes / CentralHeaderSize + 1)));
    DirectoryCursor cursor(m_volumes, m_state, eoc, position);
    std::uint8_t header[CentralHeaderSize];
    QByteArray nameBuffer;
    for (quint64 index = 0; index < eoc.TotalEntries; ++index) {
        cursor.header(header);
        if (u32le(header) != CentralSig)
            throw EZipKit(11015, true);
        ZipDirEntry e = entryFromHeader(header);
        const QByteArrayView name = cursor.take(e.FileNameLength, nameBuffer, 11017);
        e.StoredName = name.toByteArray();
        e.DirIndex = static_cast<quint32>(index);
        e.FileName = decodeName(name, e.HostSystem, e.VersionMadeBy, e.GeneralFlags, m_options.CodePage);
        e.Encrypted = e.GeneralFlags & 1;
        cursor.read(e.ExtraData, e.ExtraFieldLength, 10201);
        cursor.read(e.FileComment, e.FileCommentLength, 11022);
        if (!e.ExtraData.isEmpty())
            applyZip64(e, e.ExtraData);
        // Folders count too: their headers are part of the archive ahead of the stub's end.
        if (e.LocalHeaderOffset < static_cast<quint64>(m_state.LeadingBytes))
            m_state.LeadingBytes = static_cast<qint64>(e.LocalHeaderOffset);
        if (!m_options.UseDirOnlyEntries && directoryOnly(e.FileName)) {
            ++m_state.DroppedDirCount;
            continue;
        }
        m_state.DirEntries.push_back(std::move(e));
        m_host.entryListed(static_cast<int>(index + 1), m_state.DirEntries.back());
    }
}

ZipFault ZipDirectoryReader::read(const ZipEndOfCentral &eoc)
{
    ZipFault fault;
    qint64 position = 0;
    try {
        m_state.LastDiskNo = eoc.ThisDiskNo;
        m_state.CurrentDiskNo = eoc.ThisDiskNo;
        if (eoc.ThisDiskNo > 0)
            m_state.Spanned = true;
        position = locateDirectory(eoc);
        readEntries(eoc, position);
        m_state.LastDiskNo = eoc.ThisDiskNo;
    } catch (const EZipKit &error) {
        fault.kind = ZipFault::Kind::Error;
        fault.error = error;
    } catch (const std::bad_alloc &) {
        fault.kind = ZipFault::Kind::OutOfMemory;
    } catch (const std::exception &error) {
        fault.kind = ZipFault::Kind::Other;
        fault.text = QString::fromLocal8Bit(error.what());
    }
    // Counted from the first local header, plus whatever lies ahead of the archive's own offsets.
    if (!fault)
        m_state.LeadingBytes += position - static_cast<qint64>(eoc.CentralDirOffset);
    return fault;
}
