// SPDX-License-Identifier: MIT
// Joining the volumes of a split archive into one ordinary archive for the unzip library.
#include "TZipKit.h"

#include "ByteSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint32 kEndSig = 0x06054B50;
constexpr quint32 kCentralSig = 0x02014B50;
constexpr quint32 kSpanSig = 0x08074B50;

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

}

// The volumes' data one after the other (without the spanning marker), then a central directory
// whose offsets count from the start of the joined file. Copied block by block: no volume is
// held in memory, only the directory, and that only as far as the volumes really hold it.
QString TZipKit::ReadSpan()
{
    ZipEndOfCentral eoc;
    if (GetLastVolume(m_zipFileName, eoc, false) != 0)
        return {};
    const int last = eoc.ThisDiskNo;
    LastDiskNo = last;
    const qint64 endOfLast = EOCPos;
    QTemporaryFile joined((TempDir.isEmpty() ? QDir::tempPath() : TempDir) + QStringLiteral("/glyvanta-span-XXXXXX.zip"));
    try {
        if (eoc.CentralDirStartDisk > last)
            throw EZipKit(11013, true);
        if (!joined.open())
            throw EZipKit(ZipText::JoinWriteError, joined.fileTemplate(), joined.errorString());
        std::vector<qint64> volumeStart(static_cast<size_t>(last) + 1, 0);
        qint64 written = 0;
        QByteArray block(1 << 20, '\0');
        for (int disk = 0; disk <= last; ++disk) {
            GetNewDisk(disk);
            struct stat info {};
            ::fstat(m_volumeFile, &info);
            // The last volume holds the end record (and the directory, or its end): copy up to it.
            const qint64 size = disk == last ? std::min<qint64>(endOfLast, info.st_size) : info.st_size;
            qint64 at = 0;
            if (disk == 0 && size >= 4 && readAt(0, block.data(), 4) && u32le(reinterpret_cast<const std::uint8_t *>(block.constData())) == kSpanSig)
                at = 4;
            volumeStart[static_cast<size_t>(disk)] = written - at;
            while (at < size) {
                const qint64 n = std::min<qint64>(block.size(), size - at);
                if (!readAt(at, block.data(), n))
                    throw EZipKit(11001, true);
                writeAll(joined, written, block.constData(), n);
                at += n;
                written += n;
            }
        }
        closeVolume();
        // Re-read the directory from the joined data, patching offsets and disk numbers.
        const qint64 directoryStart = volumeStart[eoc.CentralDirStartDisk] + static_cast<qint64>(std::min<quint64>(eoc.CentralDirOffset, quint64(1) << 62));
        if (directoryStart < 0 || directoryStart > written)
            throw EZipKit(11015, true);
        QByteArray all(written - directoryStart, '\0');
        if (::pread(joined.handle(), all.data(), static_cast<size_t>(all.size()), directoryStart) != all.size())
            throw EZipKit(11013, true);
        QByteArray central;
        qint64 at = 0;
        const auto *p = reinterpret_cast<const std::uint8_t *>(all.constData());
        for (quint64 i = 0; i < eoc.TotalEntries; ++i) {
            if (at + 46 > all.size() || u32le(p + at) != kCentralSig)
                throw EZipKit(11015, true);
            const qint64 length = 46 + qint64(u16le(p + at + 28)) + u16le(p + at + 30) + u16le(p + at + 32);
            if (at + length > all.size())
                throw EZipKit(11015, true);
            QByteArray header = all.mid(at, length);
            auto *h = reinterpret_cast<std::uint8_t *>(header.data());
            const quint16 disk = u16le(h + 34);
            if (disk > last)
                throw EZipKit(11013, true);
            const qint64 offset = volumeStart[disk] + u32le(h + 42);
            if (offset < 0 || offset > 0xFFFFFFFFLL)
                throw EZipKit(ZipText::JoinWriteError, joined.fileName(), QStringLiteral("the joined archive would pass 4 GiB"));
            put(h + 34, 0, 2);
            put(h + 42, static_cast<quint32>(offset), 4);
            central += header;
            at += length;
        }
        if (directoryStart > 0xFFFFFFFFLL || central.size() > 0xFFFFFFFFLL || eoc.TotalEntries > 0xFFFF)
            throw EZipKit(ZipText::JoinWriteError, joined.fileName(), QStringLiteral("the joined archive would pass 4 GiB"));
        QByteArray end(22, '\0');
        auto *e = reinterpret_cast<std::uint8_t *>(end.data());
        put(e, kEndSig, 4);
        put(e + 8, static_cast<quint32>(eoc.TotalEntries), 2);
        put(e + 10, static_cast<quint32>(eoc.TotalEntries), 2);
        put(e + 12, static_cast<quint32>(central.size()), 4);
        put(e + 16, static_cast<quint32>(directoryStart), 4);
        if (::ftruncate(joined.handle(), directoryStart) != 0)
            throw EZipKit(ZipText::JoinWriteError, joined.fileName(), QString::fromLocal8Bit(std::strerror(errno)));
        writeAll(joined, directoryStart, central.constData(), central.size());
        writeAll(joined, directoryStart + central.size(), end.constData(), end.size());
    } catch (const EZipKit &error) {
        closeVolume();
        ShowExceptionError(error);
        return {};
    }
    joined.setAutoRemove(false);
    return joined.fileName();
}
