// SPDX-License-Identifier: MIT
#include "ZipVolumes.h"

#include "NativeFile.h"
#include "ZipEndRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isRemovable(const QString &path)
{
    // Asking the mount table costs more than reading a large directory: ask once per folder.
    static QString lastFolder;
    static bool lastAnswer = false;
    const QString folder = QFileInfo(path).absolutePath();
    if (folder == lastFolder)
        return lastAnswer;
    lastFolder = folder;
    lastAnswer = false;
    const QStorageInfo volume(folder);
    QString device = QString::fromUtf8(volume.device()).section(QLatin1Char('/'), -1);
    if (device.isEmpty())
        return false;
    // A partition's "removable" flag lives with its disk.
    for (int tries = 0; tries < 2; ++tries) {
        QFile flag(QStringLiteral("/sys/class/block/%1/removable").arg(device));
        if (flag.open(QIODevice::ReadOnly))
            return lastAnswer = flag.readAll().trimmed() == "1";
        QFileInfo link(QStringLiteral("/sys/class/block/%1").arg(device));
        device = QFileInfo(link.canonicalFilePath()).dir().dirName();
    }
    return false;
}

QString withoutExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > name.lastIndexOf(QLatin1Char('/')) ? name.left(dot) : name;
}

QString numberedVolume(const QString &base, int number)
{
    return base + QStringLiteral("%1.zip").arg(number, 3, 10, QLatin1Char('0'));
}

}

ZipVolumes::ZipVolumes(ZipDirectoryState &state, const ZipReadOptions &options, ZipReadHost &host)
    : m_state(state)
    , m_options(options)
    , m_host(host)
{
}

ZipVolumes::~ZipVolumes()
{
    closeVolume();
}

void ZipVolumes::closeVolume()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
}

bool ZipVolumes::openVolume()
{
    closeVolume();
    // Without blocking, and only a regular file: a FIFO named like a volume would hang the window.
    RegularFile file(m_state.VolumeName);
    m_file = file.release();
    ++m_serial;
    return m_file >= 0;
}

bool ZipVolumes::readAt(qint64 offset, void *buffer, qint64 length) const
{
    if (offset < 0 || m_file < 0)
        return false;
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_file, static_cast<char *>(buffer) + done, static_cast<size_t>(length - done), offset + done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

qint64 ZipVolumes::size() const
{
    struct stat info {};
    return m_file >= 0 && ::fstat(m_file, &info) == 0 ? info.st_size : 0;
}

QString ZipVolumes::volumeNameFor(int diskNo) const
{
    const QString base = withoutExtension(m_state.VolumeName);
    if (m_options.SpanOptions & ZipReadOptions::spCompatName) {
        if (diskNo >= m_state.LastDiskNo)
            return base + QStringLiteral(".zip");
        return base + QStringLiteral(".z%1").arg(diskNo + 1, 2, 10, QLatin1Char('0'));
    }
    // "archive002.zip": the three digits ahead of the extension.
    return numberedVolume(base.left(base.size() - 3), diskNo + 1);
}

// The number of the open volume, only for telling which volume has no end record: from a
// backup disk's label, else from the name.
int ZipVolumes::volumeNumber() const
{
    const QString fileName = QFileInfo(m_state.VolumeName).fileName();
    if (m_state.VolumeLabel.startsWith(QLatin1String("PKBACK# ")))
        return m_state.VolumeLabel.mid(8, 3).toInt();
    if (m_options.SpanOptions & ZipReadOptions::spCompatName)
        return fileName.section(QLatin1Char('.'), -1).mid(1, 2).toInt();
    return withoutExtension(fileName).right(3).toInt();
}

void ZipVolumes::CheckForDisk()
{
    if (m_state.DriveIsFixed)
        return;
    for (;;) {
        if (QFileInfo::exists(m_state.VolumeName))
            return;
        if (m_options.Unattended)
            throw EZipKit(11025, true);
        const int disk = m_state.CurrentDiskNo;
        const QString drive = QFileInfo(m_state.VolumeName).absolutePath();
        QString prompt = disk < 0 ? m_host.messageText(11033, QStringLiteral("Please insert last disk in set"))
                                  : m_host.messageText(11034, QStringLiteral("Please insert disk volume %1 of %2")).arg(disk + 1).arg(m_state.LastDiskNo + 1);
        prompt += m_host.messageText(11035, QStringLiteral("\nin drive: %1")).arg(drive);
        bool refused = false;
        if (!m_host.nextDiskEvent(disk + 1, m_state.LastDiskNo + 1, drive, refused))
            refused = m_host.diskPromptRefused(prompt, disk < 0);
        if (refused)
            throw EZipKit(11007, false);
    }
}

void ZipVolumes::GetNewDisk(int diskNo)
{
    closeVolume();
    m_state.CurrentDiskNo = diskNo;
    m_state.VolumeName = volumeNameFor(diskNo);
    bool failedBefore = false;
    for (;;) {
        if (failedBefore) {
            if (m_state.DriveIsFixed)
                throw EZipKit(11001, true);
            m_host.showMessage(11001, QString());
        }
        CheckForDisk();
        if (openVolume())
            return;
        failedBefore = true;
    }
}

bool ZipVolumes::OpenEOC(ZipEndOfCentral &eoc, bool raiseErrors)
{
    m_comment.clear();
    m_state.EOCPos = 0;
    struct stat info {};
    if (!openVolume() || ::fstat(m_file, &info) != 0)
        closeVolume();
    if (m_file < 0) {
        if (raiseErrors)
            throw EZipKit(11001, true);
        m_host.showMessage(11002, QString());
        return false;
    }
    const int number = volumeNumber();
    ByteSource volume = bytes();
    const bool firstSplitVolume = startsSplitArchive(volume);
    if (firstSplitVolume)
        m_state.Spanned = true;
    const qint64 size = info.st_size;
    m_state.ArchiveFileSize = m_state.RawFileSize = size;
    const EndRecordSearch found = findEndRecord(volume, size);
    if (!found.found) {
        if (!raiseErrors)
            return false;
        if (!firstSplitVolume && number != 0)
            throw EZipKit(11038, number);
        throw EZipKit(!firstSplitVolume ? 11036 : number == 1 ? 11037 : 11045, true);
    }
    m_state.EOCPos = found.position;
    eoc = found.eoc;
    if (found.trailingBytes != 0) {
        if (found.trailingBytes > 0)
            m_state.ArchiveFileSize -= found.trailingBytes;
        if (!found.trailingIsPadding)
            m_host.showMessage(10204, QString());
    }
    m_comment = found.comment;
    applyZip64End(volume, m_state.EOCPos, eoc);
    return true;
}

// Where the named file does not exist: the last of its numbered volumes on a fixed drive, the
// first volume-like name on a removable one. 1 when there is none and that is no error.
int ZipVolumes::findNamedVolume(const QString &full, bool quiet, int &lastNumbered)
{
    const QString base = withoutExtension(full);
    if (m_state.DriveIsFixed) {
        while (QFileInfo::exists(numberedVolume(base, lastNumbered + 1)))
            ++lastNumbered;
        if (lastNumbered == 0) {
            if (quiet)
                return 1;
            throw EZipKit(11002, true);
        }
        m_state.VolumeName = numberedVolume(base, lastNumbered);
        if (QFileInfo::exists(withoutExtension(m_state.VolumeName) + QStringLiteral(".z01")))
            throw EZipKit(11002, true);
        return 0;
    }
    const QDir folder = QFileInfo(full).dir();
    const QString stem = QFileInfo(base).fileName();
    QStringList matches = folder.entryList({stem + QStringLiteral("???.zip")}, QDir::Files, QDir::Name);
    if (matches.isEmpty())
        matches = folder.entryList({stem + QStringLiteral(".z??")}, QDir::Files, QDir::Name);
    if (matches.isEmpty())
        throw EZipKit(11002, true);
    m_state.VolumeName = folder.filePath(matches.first());
    return 0;
}

// Opens VolumeName until it holds an end record; on a removable drive the user may change the
// disk in between.
int ZipVolumes::keepAskingForLastVolume(ZipEndOfCentral &eoc, bool nameNotFound, int lastNumbered)
{
    for (;;) {
        if (OpenEOC(eoc, false)) {
            if (nameNotFound && !m_state.Spanned && eoc.ThisDiskNo == 0 && lastNumbered > 0)
                throw EZipKit(11002, true);
            if (m_state.DriveIsFixed && nameNotFound && eoc.ThisDiskNo + 1 != lastNumbered)
                throw EZipKit(11036, true);
            return 0;
        }
        closeVolume();
        if (m_state.DriveIsFixed) {
            if (nameNotFound)
                throw EZipKit(11002, true);
            // Not an archive: told even in quiet mode.
            m_host.showError(EZipKit(11036, true));
            m_state.VolumeName.clear();
            return -1;
        }
        bool cancel = false;
        if (m_host.nextDiskEvent(0, 0, QFileInfo(m_state.VolumeName).absolutePath(), cancel)) {
            if (cancel)
                return 1;
        } else {
            m_state.CurrentDiskNo = -1;
            CheckForDisk();
        }
    }
}

int ZipVolumes::GetLastVolume(const QString &name, ZipEndOfCentral &eoc, bool quiet)
{
    try {
        const QString full = QFileInfo(name).absoluteFilePath();
        m_state.DriveIsFixed = !isRemovable(full);
        m_state.VolumeName = full;
        int lastNumbered = 0;
        const bool nameNotFound = !QFileInfo(full).isFile() && !QFileInfo(full).isDir();
        if (nameNotFound && findNamedVolume(full, quiet, lastNumbered) == 1)
            return 1;
        return keepAskingForLastVolume(eoc, nameNotFound, lastNumbered);
    } catch (const EZipKit &error) {
        if (!quiet)
            m_host.showError(error);
        else
            m_host.keepErrorId(error.MessageId);
        m_state.VolumeName.clear();
        closeVolume();
        return -1;
    }
}
