// SPDX-License-Identifier: MIT
#include "SpanJoin.h"

#include "ByteSource.h"
#include "ZipEndRecord.h"
#include "ZipVolumes.h"

#include <QDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <unistd.h>

using namespace zipformat;

namespace {

void put(std::uint8_t *at, quint32 value, int width)
{
    for (int b = 0; b < width; ++b)
        at[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

// Every write checked, on the descriptor so that the system's own reason is told: a joined
// archive cut short by a full disk would extract wrong data.
void writeAll(const QFile &file, qint64 at, const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::pwrite(file.handle(), data + done, static_cast<size_t>(size - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EZipKit(ZipText::JoinWriteError, file.fileName(), QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC)));
        done += n;
    }
}

EZipKit tooLarge(const QFile &joined)
{
    return EZipKit(ZipText::JoinWriteError, joined.fileName(), QStringLiteral("the joined archive would pass 4 GiB"));
}

// The central headers read from the joined data, each with its local header's offset counted
// from the start of the joined file and its disk made 0.
QByteArray joinedHeaders(const QByteArray &all, const ZipEndOfCentral &eoc, const std::vector<qint64> &volumeStart, const QFile &joined)
{
    const int last = static_cast<int>(volumeStart.size()) - 1;
    QByteArray central;
    qint64 at = 0;
    const auto *p = reinterpret_cast<const std::uint8_t *>(all.constData());
    for (quint64 i = 0; i < eoc.TotalEntries; ++i) {
        if (at + CentralHeaderSize > all.size() || u32le(p + at) != CentralSig)
            throw EZipKit(11015, true);
        const qint64 length = CentralHeaderSize + qint64(u16le(p + at + 28)) + u16le(p + at + 30) + u16le(p + at + 32);
        if (at + length > all.size())
            throw EZipKit(11015, true);
        QByteArray header = all.mid(at, length);
        auto *h = reinterpret_cast<std::uint8_t *>(header.data());
        const quint16 disk = u16le(h + 34);
        if (disk > last)
            throw EZipKit(11013, true);
        const qint64 offset = volumeStart[disk] + u32le(h + 42);
        if (offset < 0 || offset > 0xFFFFFFFFLL)
            throw tooLarge(joined);
        put(h + 34, 0, 2);
        put(h + 42, static_cast<quint32>(offset), 4);
        central += header;
        at += length;
    }
    return central;
}

QByteArray endRecord(quint64 entries, qint64 directorySize, qint64 directoryStart)
{
    QByteArray end(EndSize, '\0');
    auto *e = reinterpret_cast<std::uint8_t *>(end.data());
    put(e, EndSig, 4);
    put(e + 8, static_cast<quint32>(entries), 2);
    put(e + 10, static_cast<quint32>(entries), 2);
    put(e + 12, static_cast<quint32>(directorySize), 4);
    put(e + 16, static_cast<quint32>(directoryStart), 4);
    return end;
}

}

SpanJoiner::SpanJoiner(ZipVolumes &volumes, ZipDirectoryState &state, ZipReadHost &host)
    : m_volumes(volumes)
    , m_state(state)
    , m_host(host)
{
}

// Where each volume's data starts in the joined file (less the marker skipped on the first).
std::vector<qint64> SpanJoiner::copyVolumes(QFile &joined, int last, qint64 endOfLast, qint64 &written)
{
    std::vector<qint64> volumeStart(static_cast<size_t>(last) + 1, 0);
    QByteArray block(1 << 20, '\0');
    for (int disk = 0; disk <= last; ++disk) {
        m_volumes.GetNewDisk(disk);
        // The last volume holds the end record (and the directory, or its end): copy up to it.
        const qint64 size = disk == last ? std::min<qint64>(endOfLast, m_volumes.size()) : m_volumes.size();
        qint64 at = 0;
        if (disk == 0 && size >= 4 && m_volumes.readAt(0, block.data(), 4) && u32le(reinterpret_cast<const std::uint8_t *>(block.constData())) == SpanSig)
            at = 4;
        volumeStart[static_cast<size_t>(disk)] = written - at;
        while (at < size) {
            const qint64 n = std::min<qint64>(block.size(), size - at);
            if (!m_volumes.readAt(at, block.data(), n))
                throw EZipKit(11001, true);
            writeAll(joined, written, block.constData(), n);
            at += n;
            written += n;
        }
    }
    m_volumes.closeVolume();
    return volumeStart;
}

// Re-reads the directory from the joined data, and writes it again with its offsets and disk
// numbers patched, and a new end record, in place of the volumes' own.
void SpanJoiner::rewriteDirectory(QFile &joined, const ZipEndOfCentral &eoc, const std::vector<qint64> &volumeStart, qint64 written)
{
    const qint64 directoryStart = volumeStart[eoc.CentralDirStartDisk] + static_cast<qint64>(std::min<quint64>(eoc.CentralDirOffset, quint64(1) << 62));
    if (directoryStart < 0 || directoryStart > written)
        throw EZipKit(11015, true);
    QByteArray all(written - directoryStart, '\0');
    if (::pread(joined.handle(), all.data(), static_cast<size_t>(all.size()), directoryStart) != all.size())
        throw EZipKit(11013, true);
    const QByteArray central = joinedHeaders(all, eoc, volumeStart, joined);
    if (directoryStart > 0xFFFFFFFFLL || central.size() > 0xFFFFFFFFLL || eoc.TotalEntries > 0xFFFF)
        throw tooLarge(joined);
    const QByteArray end = endRecord(eoc.TotalEntries, central.size(), directoryStart);
    if (::ftruncate(joined.handle(), directoryStart) != 0)
        throw EZipKit(ZipText::JoinWriteError, joined.fileName(), QString::fromLocal8Bit(std::strerror(errno)));
    writeAll(joined, directoryStart, central.constData(), central.size());
    writeAll(joined, directoryStart + central.size(), end.constData(), end.size());
}

QString SpanJoiner::join(const QString &zipFileName, const QString &tempFolder)
{
    ZipEndOfCentral eoc;
    if (m_volumes.GetLastVolume(zipFileName, eoc, false) != 0)
        return {};
    const int last = eoc.ThisDiskNo;
    m_state.LastDiskNo = last;
    const qint64 endOfLast = m_state.EOCPos;
    // Removed again on every failure: only a whole joined archive stays.
    QTemporaryFile joined((tempFolder.isEmpty() ? QDir::tempPath() : tempFolder) + QStringLiteral("/glyvanta-span-XXXXXX.zip"));
    try {
        if (eoc.CentralDirStartDisk > last)
            throw EZipKit(11013, true);
        if (!joined.open())
            throw EZipKit(ZipText::JoinWriteError, joined.fileTemplate(), joined.errorString());
        qint64 written = 0;
        const std::vector<qint64> volumeStart = copyVolumes(joined, last, endOfLast, written);
        rewriteDirectory(joined, eoc, volumeStart, written);
    } catch (const EZipKit &error) {
        m_volumes.closeVolume();
        m_host.showError(error);
        return {};
    }
    joined.setAutoRemove(false);
    return joined.fileName();
}
