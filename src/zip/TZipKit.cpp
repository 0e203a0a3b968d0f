// SPDX-License-Identifier: MIT
#include "TZipKit.h"

#include "ByteSource.h"
#include "CodePage.h"
#include "EntryPath.h"
#include "ExtractionGuard.h"
#include "NativeFile.h"
#include "PasswordDialog.h"
#include "Prompter.h"
#include "UnzLibAbi.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <array>
#include <cstring>
#include <deque>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint32 kEndSig = 0x06054B50;
constexpr quint32 kCentralSig = 0x02014B50;
constexpr quint32 kLocalSig = 0x04034B50;
constexpr quint32 kSpanSig = 0x08074B50;
constexpr quint32 kZip64EndSig = 0x06064B50;
constexpr quint32 kZip64LocatorSig = 0x07064B50;
constexpr qint64 kEndSize = 22;
constexpr qint64 kSearchBlock = 65535 + kEndSize;

const char *const kLibraryFile = "libunzlib.so";

// The component whose run is under way, for the library's callback.
thread_local TZipKit *g_running = nullptr;

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

void parseEnd(const std::uint8_t *p, ZipEndOfCentral &eoc)
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

quint64 u64le(const std::uint8_t *p)
{
    return quint64(u32le(p)) | quint64(u32le(p + 4)) << 32;
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

// The spec records of one run and the bytes they point to, which live exactly as long.
struct SpecSet {
    std::deque<QByteArray> texts;
    std::vector<UnzSpecRecord> records;

    void addPattern(const QString &line)
    {
        texts.push_back(TZipKit::SetSlash(line, true).toUtf8());
        UnzSpecRecord record{};
        record.FileSpec = texts.back().constData();
        records.push_back(record);
    }
    // Copies of the name and stored bytes: the entry list may be read anew while the library runs.
    void addExact(const ZipDirEntry &entry)
    {
        texts.push_back(nativePath(TZipKit::SetSlash(entry.FileName, true)));
        const char *name = texts.back().constData();
        texts.push_back(entry.StoredName);
        UnzSpecRecord record{};
        record.FileSpec = name;
        record.Exact = 1;
        record.EntryIndex = entry.DirIndex;
        record.StoredName = texts.back().constData();
        record.StoredNameLength = static_cast<std::uint32_t>(texts.back().size());
        records.push_back(record);
    }
};

bool validUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}


// The specs of a run: in mode 1 the first entry whose name matches the first line, ignoring case,
// taken exactly (and its size held against the limit before memory is sized for it); otherwise
// the lines of FSpecArgs as patterns and the entries of FSpecEntries exactly.
void collectSpecs(TZipKit &kit, int mode, SpecSet &specs, UnzipParams &params)
{
    if (mode == 1) {
        const QString wanted = kit.FSpecArgs.value(0);
        for (const ZipDirEntry &e : kit.DirEntries) {
            if (e.FileName.compare(wanted, Qt::CaseInsensitive) == 0 || e.FileName.compare(TZipKit::SetSlash(wanted, false), Qt::CaseInsensitive) == 0) {
                // The size is the archive's word: held against the limit before memory is taken for it.
                const QString refused = ExtractionGuard::refusal(e.FileName, e.UncompressedSize, ExtractionGuard::Limit, std::nullopt);
                if (!refused.isEmpty())
                    throw EZipKit(ZipText::EntryRefused, refused, QString());
                kit.MemStream = QByteArray(static_cast<qsizetype>(e.UncompressedSize), '\0');
                params.OutToMemory = 1;
                params.OutBuffer = kit.MemStream.data();
                params.OutSize = static_cast<std::uint32_t>(kit.MemStream.size());
                // The entry found is the one extracted, whatever other entry the name would match.
                specs.addExact(e);
                break;
            }
        }
    } else {
        for (const QString &line : kit.FSpecArgs)
            specs.addPattern(line);
        for (const int index : kit.FSpecEntries) {
            if (index < 0 || static_cast<size_t>(index) >= kit.DirEntries.size())
                throw EZipKit(ZipText::EntryRefused, QStringLiteral("The archive has no entry number %1.").arg(index), QString());
            specs.addExact(kit.DirEntries[static_cast<size_t>(index)]);
        }
    }
}

}

TZipKit::TZipKit(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
{
    processEvents = [] { QCoreApplication::processEvents(); };
}

TZipKit::~TZipKit()
{
    m_destroying = true;
    closeVolume();
    if (m_module)
        dlclose(m_module);
}

// ----- messages -----

QString TZipKit::ZipStr(int id)
{
    QString text = ZipText::tableText(id);
    if (OnZipStr)
        OnZipStr(id, text);
    return text;
}

QString TZipKit::LoadZipStr(int id, const QString &defaultText)
{
    const QString text = ZipStr(id);
    return text.isEmpty() ? defaultText : text;
}

void TZipKit::ShowZipMessage(int id, const QString &extra)
{
    QString text = ZipStr(id);
    if (text.isEmpty())
        text = ZipText::MissingText + QString::number(id) + QLatin1Char(' ') + extra;
    else
        text += extra;
    ErrCode = id;
    LastMessage = text;
    if (!Unattended) {
        ++ShownMessageCount;
        m_prompter.message(text, MessageIcon::Error);
    }
    if (OnMessage)
        OnMessage(id, text);
}

void TZipKit::ShowExceptionError(const EZipKit &error)
{
    ErrCode = error.MessageId;
    QString text = ZipStr(ErrCode);
    if (text.isEmpty()) {
        text = ZipText::MissingText + QString::number(ErrCode);
    } else if (error.FirstArg.isEmpty() && !error.SecondArg.isEmpty()) {
        bool ok = false;
        const int number = error.SecondArg.toInt(&ok);
        text = text.arg(ok ? number : 0);
    } else if (!error.FirstArg.isEmpty()) {
        text = text.arg(error.FirstArg, error.SecondArg);
    }
    if (error.ShowBox && !Unattended) {
        ++ShownMessageCount;
        m_prompter.message(error.message(), MessageIcon::Error);
    }
    LastMessage = text;
    if (OnMessage)
        OnMessage(ErrCode, error.message());
}

int TZipKit::askPassword(bool forAdding, QString &answer)
{
    answer.clear();
    if (Unattended) {
        ShowZipMessage(forAdding ? 10150 : 10151, QString());
        return 2;
    }
    PasswordDialog dialog(LoadZipStr(10154, ZipText::MissingText + QStringLiteral("10154")),
                          LoadZipStr(10155, ZipText::MissingText + QStringLiteral("10155")),
                          {LoadZipStr(10152, QStringLiteral("OK")), LoadZipStr(10153, QStringLiteral("Cancel")),
                           LoadZipStr(10157, QStringLiteral("Cancel all"))});
    const int result = m_prompter.runDialog(dialog);
    answer = dialog.password();
    if (result != PasswordDialog::Ok)
        answer.clear();
    return result == ModalResult::Cancel ? PasswordDialog::CancelOne : result;
}

// ----- directory -----

void TZipKit::SetFileName(const QString &name)
{
    m_zipFileName = name;
    _List();
}

int TZipKit::List()
{
    if (Busy())
        return -255;
    m_listBusy = true;
    _List();
    m_listBusy = false;
    return ErrCode;
}

int TZipKit::Count() const
{
    return m_zipFileName.isEmpty() ? 0 : static_cast<int>(DirEntries.size());
}

QString TZipKit::ZipComment() const
{
    return CodePage == cpNone ? QString::fromLatin1(m_zipComment) : CodePage::decode("CP437", m_zipComment);
}

void TZipKit::FreeZipDirEntryRecords()
{
    DirEntries.clear();
}

void TZipKit::closeVolume()
{
    if (m_volumeFile >= 0)
        ::close(m_volumeFile);
    m_volumeFile = -1;
}

bool TZipKit::openVolume()
{
    closeVolume();
    // Without blocking, and only a regular file: a FIFO named like a volume would hang the window.
    RegularFile file(VolumeName);
    m_volumeFile = file.release();
    // A new volume may get the descriptor number of the one before: what was read of that one
    // must never be taken for this one's bytes.
    ++m_volumeSerial;
    return m_volumeFile >= 0;
}

bool TZipKit::readAt(qint64 offset, void *buffer, qint64 length)
{
    if (offset < 0 || m_volumeFile < 0)
        return false;
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_volumeFile, static_cast<char *>(buffer) + done, static_cast<size_t>(length - done), offset + done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString TZipKit::ConvertOEM(const QByteArray &text) const
{
    return CodePage::decode("CP437", text);
}

QString TZipKit::SetSlash(QString text, bool toForward)
{
    // Taken by value: a name decoded just for this is changed in place, not copied.
    return toForward ? text.replace(QLatin1Char('\\'), QLatin1Char('/')) : text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString TZipKit::volumeNameFor(int diskNo) const
{
    const QString base = withoutExtension(VolumeName);
    if (SpanOptions & spCompatName) {
        if (diskNo >= LastDiskNo)
            return base + QStringLiteral(".zip");
        return base + QStringLiteral(".z%1").arg(diskNo + 1, 2, 10, QLatin1Char('0'));
    }
    // "archive002.zip": the three digits ahead of the extension.
    return base.left(base.size() - 3) + QStringLiteral("%1").arg(diskNo + 1, 3, 10, QLatin1Char('0')) + QStringLiteral(".zip");
}

void TZipKit::CheckForDisk()
{
    if (DriveIsFixed)
        return;
    for (;;) {
        if (QFileInfo::exists(VolumeName))
            return;
        if (Unattended)
            throw EZipKit(11025, true);
        QString prompt = CurrentDiskNo < 0 ? LoadZipStr(11033, QStringLiteral("Please insert last disk in set"))
                                           : LoadZipStr(11034, QStringLiteral("Please insert disk volume %1 of %2")).arg(CurrentDiskNo + 1).arg(LastDiskNo + 1);
        prompt += LoadZipStr(11035, QStringLiteral("\nin drive: %1")).arg(QFileInfo(VolumeName).absolutePath());
        bool refused = false;
        if (OnGetNextDisk) {
            OnGetNextDisk(CurrentDiskNo + 1, LastDiskNo + 1, QFileInfo(VolumeName).absolutePath(), refused);
        } else {
            refused = m_prompter.showMessage({QCoreApplication::applicationName(), prompt,
                                              CurrentDiskNo < 0 ? MessageIcon::Error : MessageIcon::Information,
                                              MessageButtons::YesNo}) != MessageAnswer::Yes;
        }
        if (refused)
            throw EZipKit(11007, false);
    }
}

void TZipKit::GetNewDisk(int diskNo)
{
    closeVolume();
    CurrentDiskNo = diskNo;
    VolumeName = volumeNameFor(diskNo);
    bool failedBefore = false;
    for (;;) {
        if (failedBefore) {
            if (DriveIsFixed)
                throw EZipKit(11001, true);
            ShowZipMessage(11001, QString());
        }
        CheckForDisk();
        if (openVolume())
            return;
        failedBefore = true;
    }
}

bool TZipKit::OpenEOC(ZipEndOfCentral &eoc, bool raiseErrors)
{
    m_zipComment.clear();
    EOCPos = 0;
    struct stat info {};
    if (!openVolume() || ::fstat(m_volumeFile, &info) != 0)
        closeVolume();
    if (m_volumeFile < 0) {
        if (raiseErrors)
            throw EZipKit(11001, true);
        ShowZipMessage(11002, QString());
        return false;
    }
    // The volume's number, for the error below.
    int volumeNumber = 0;
    const QString fileName = QFileInfo(VolumeName).fileName();
    if (VolumeLabel.startsWith(QLatin1String("PKBACK# ")))
        volumeNumber = VolumeLabel.mid(8, 3).toInt();
    else if (SpanOptions & spCompatName)
        volumeNumber = fileName.section(QLatin1Char('.'), -1).mid(1, 2).toInt();
    else
        volumeNumber = withoutExtension(fileName).right(3).toInt();

    std::uint8_t head[8] = {};
    bool firstSplitVolume = false;
    if (readAt(0, head, 8) && u32le(head) == kSpanSig && u32le(head + 4) == kLocalSig) {
        firstSplitVolume = true;
        Spanned = true;
    }
    const qint64 size = info.st_size;
    ArchiveFileSize = RawFileSize = size;
    std::uint8_t record[kEndSize];
    if (size >= kEndSize && readAt(size - kEndSize, record, kEndSize) && u32le(record) == kEndSig && u16le(record + 20) == 0) {
        EOCPos = size - kEndSize;
        parseEnd(record, eoc);
    } else {
        const qint64 block = std::min(size, kSearchBlock);
        QByteArray buffer(block, '\0');
        if (block > 0 && !readAt(size - block, buffer.data(), block))
            throw EZipKit(11011, true);
        const auto *p = reinterpret_cast<const std::uint8_t *>(buffer.constData());
        qint64 match = -1;
        for (qint64 at = block - kEndSize; at >= 0; --at) {
            if (u32le(p + at) == kEndSig) {
                match = at;
                break;
            }
        }
        if (match < 0) {
            if (!raiseErrors)
                return false;
            if (!firstSplitVolume && volumeNumber != 0)
                throw EZipKit(11038, volumeNumber);
            throw EZipKit(!firstSplitVolume ? 11036 : volumeNumber == 1 ? 11037 : 11045, true);
        }
        EOCPos = size - block + match;
        parseEnd(p + match, eoc);
        const qint64 trailing = block - (match + eoc.ZipCommentLen + kEndSize);
        if (trailing != 0) {
            bool padding = trailing > 0 && trailing < 512 && RawFileSize % 512 == 0;
            for (qint64 i = block - trailing; padding && i < block; ++i)
                padding = p[i] == 0;
            if (trailing > 0)
                ArchiveFileSize -= trailing;
            if (!padding)
                ShowZipMessage(10204, QString());
        }
        if (eoc.ZipCommentLen > 0) {
            const QByteArray comment = buffer.mid(match + kEndSize, eoc.ZipCommentLen);
            const qsizetype zero = comment.indexOf('\0');
            m_zipComment = zero < 0 ? comment : comment.left(zero);
        }
    }
    eoc.DirectoryEnd = EOCPos;
    // Zip64: a locator right before the end record names the Zip64 end record.
    if (EOCPos >= 20) {
        std::uint8_t locator[20];
        std::uint8_t end64[56];
        if (readAt(EOCPos - 20, locator, 20) && u32le(locator) == kZip64LocatorSig) {
            const quint64 at = u64le(locator + 8);
            if (at < static_cast<quint64>(EOCPos) && readAt(static_cast<qint64>(at), end64, 56) && u32le(end64) == kZip64EndSig) {
                // No file is 2^62 bytes long: larger values are damage, and bounding them keeps
                // the position arithmetic below from overflowing. (Found by fuzzing.)
                constexpr quint64 kLimit = quint64(1) << 62;
                if (eoc.TotalEntries == 0xFFFF)
                    eoc.TotalEntries = std::min(u64le(end64 + 32), kLimit);
                if (eoc.CentralDirSize == 0xFFFFFFFF)
                    eoc.CentralDirSize = std::min(u64le(end64 + 40), kLimit);
                if (eoc.CentralDirOffset == 0xFFFFFFFF)
                    eoc.CentralDirOffset = std::min(u64le(end64 + 48), kLimit);
                eoc.DirectoryEnd = static_cast<qint64>(at);
            }
        }
    }
    return true;
}

int TZipKit::GetLastVolume(const QString &name, ZipEndOfCentral &eoc, bool quiet)
{
    try {
        const QString full = QFileInfo(name).absoluteFilePath();
        DriveIsFixed = !isRemovable(full);
        bool nameNotFound = false;
        int lastNumbered = 0;
        VolumeName = full;
        if (!QFileInfo(full).isFile() && !QFileInfo(full).isDir()) {
            nameNotFound = true;
            const QString base = withoutExtension(full);
            if (DriveIsFixed) {
                while (QFileInfo::exists(base + QStringLiteral("%1.zip").arg(lastNumbered + 1, 3, 10, QLatin1Char('0'))))
                    ++lastNumbered;
                if (lastNumbered == 0) {
                    if (quiet)
                        return 1;
                    throw EZipKit(11002, true);
                }
                VolumeName = base + QStringLiteral("%1.zip").arg(lastNumbered, 3, 10, QLatin1Char('0'));
                if (QFileInfo::exists(withoutExtension(VolumeName) + QStringLiteral(".z01")))
                    throw EZipKit(11002, true);
            } else {
                const QDir folder = QFileInfo(full).dir();
                const QString stem = QFileInfo(base).fileName();
                QStringList matches = folder.entryList({stem + QStringLiteral("???.zip")}, QDir::Files, QDir::Name);
                if (matches.isEmpty())
                    matches = folder.entryList({stem + QStringLiteral(".z??")}, QDir::Files, QDir::Name);
                if (matches.isEmpty())
                    throw EZipKit(11002, true);
                VolumeName = folder.filePath(matches.first());
            }
        }
        for (;;) {
            if (OpenEOC(eoc, false)) {
                if (nameNotFound && !Spanned && eoc.ThisDiskNo == 0 && lastNumbered > 0)
                    throw EZipKit(11002, true);
                if (DriveIsFixed && nameNotFound && eoc.ThisDiskNo + 1 != lastNumbered)
                    throw EZipKit(11036, true);
                return 0;
            }
            closeVolume();
            if (DriveIsFixed) {
                if (nameNotFound)
                    throw EZipKit(11002, true);
                // Not an archive: told even in quiet mode.
                const EZipKit error(11036, true);
                ShowExceptionError(error);
                VolumeName.clear();
                return -1;
            }
            if (OnGetNextDisk) {
                bool cancel = false;
                OnGetNextDisk(0, 0, QFileInfo(VolumeName).absolutePath(), cancel);
                if (cancel)
                    return 1;
            } else {
                CurrentDiskNo = -1;
                CheckForDisk();
            }
        }
    } catch (const EZipKit &error) {
        if (!quiet)
            ShowExceptionError(error);
        else
            ErrCode = error.MessageId;
        VolumeName.clear();
        closeVolume();
        return -1;
    }
}

void TZipKit::_List()
{
    FreeZipDirEntryRecords();
    RawFileSize = LeadingBytes = CentralDirPos = 0;
    m_zipComment.clear();
    Spanned = false;
    OffsetMismatch = false;
    DroppedDirCount = 0;
    ErrCode = 0;
    if (m_zipFileName.isEmpty()) {
        if (OnDirUpdate)
            OnDirUpdate();
        return;
    }
    ZipEndOfCentral eoc;
    const int found = GetLastVolume(m_zipFileName, eoc, true);
    if (found == -1)
        return;
    if (found == 1) {
        if (OnDirUpdate)
            OnDirUpdate();
        return;
    }
    // The wait cursor only while one of the program's windows is the active one.
    const bool waitCursor = QApplication::activeWindow() != nullptr;
    if (waitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    bool failed = false;
    qint64 position = 0;
    try {
        LastDiskNo = eoc.ThisDiskNo;
        CurrentDiskNo = eoc.ThisDiskNo;
        if (eoc.ThisDiskNo > 0)
            Spanned = true;
        // A directory said to start past the last volume would open a volume that is not part of the set.
        if (eoc.CentralDirStartDisk > eoc.ThisDiskNo)
            throw EZipKit(11013, true);
        if (eoc.ThisDiskNo == eoc.CentralDirStartDisk) {
            // Counted back from the end record, so that data ahead of the archive is allowed.
            position = eoc.DirectoryEnd - static_cast<qint64>(eoc.CentralDirSize);
        } else {
            GetNewDisk(eoc.CentralDirStartDisk);
            struct stat info {};
            ::fstat(m_volumeFile, &info);
            ArchiveFileSize = info.st_size;
            position = static_cast<qint64>(eoc.CentralDirOffset);
        }
        if (position != static_cast<qint64>(eoc.CentralDirOffset)) {
            OffsetMismatch = true;
            ShowZipMessage(10203, QString());
        }
        if (position < 0)
            throw EZipKit(10201, true);
        CentralDirPos = position;
        LeadingBytes = ArchiveFileSize == kEndSize ? 0 : ArchiveFileSize;
        // Every header needs 46 bytes: a count the directory cannot hold is damage, not a reason
        // to reserve memory for it.
        // (Found by fuzzing: a Zip64 size can claim more than the file holds.)
        const quint64 directoryBytes = std::min<quint64>(eoc.CentralDirSize, static_cast<quint64>(std::max<qint64>(ArchiveFileSize, 0)));
        DirEntries.reserve(static_cast<size_t>(std::min<quint64>(eoc.TotalEntries, directoryBytes / 46 + 1)));

        // A directory on one volume is read with one read; one that spans volumes through a
        // cache of large blocks. Either way, not one call per field.
        QByteArray whole;
        const bool oneVolume = eoc.ThisDiskNo == eoc.CentralDirStartDisk && eoc.CentralDirSize <= static_cast<quint64>(ArchiveFileSize);
        if (oneVolume) {
            whole.resize(static_cast<qsizetype>(eoc.CentralDirSize));
            if (!readAt(position, whole.data(), whole.size()))
                whole.truncate(0);
        }
        ByteSource source = oneVolume && !whole.isEmpty()
            ? ByteSource::fromMemory({reinterpret_cast<const std::uint8_t *>(whole.constData()), static_cast<size_t>(whole.size())})
            : ByteSource::fromFile(m_volumeFile);
        int sourceVolume = m_volumeSerial;
        const qint64 base = oneVolume && !whole.isEmpty() ? position : 0;
        qint64 cursor = position;
        std::uint8_t header[46];
        QByteArray name, extra, comment;
        auto reopen = [&] {
            if (sourceVolume != m_volumeSerial) {
                source = ByteSource::fromFile(m_volumeFile);
                sourceVolume = m_volumeSerial;
            }
        };
        auto readBytes = [&](QByteArray &into, qint64 length, int errorId) {
            reopen();
            if (length == 0) {
                into.clear();
                return;
            }
            into.resize(length);
            if (!source.readExact(static_cast<quint64>(cursor - base), static_cast<size_t>(length), reinterpret_cast<std::uint8_t *>(into.data())))
                throw EZipKit(errorId, true);
            cursor += length;
        };
        for (quint64 index = 0; index < eoc.TotalEntries; ++index) {
            for (;;) {
                reopen();
                if (source.readExact(static_cast<quint64>(cursor - base), 46, header))
                    break;
                if (CurrentDiskNo >= LastDiskNo || base != 0)
                    throw EZipKit(11013, true);
                GetNewDisk(CurrentDiskNo + 1);
                cursor = 0;
            }
            cursor += 46;
            if (u32le(header) != kCentralSig)
                throw EZipKit(11015, true);
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
            // The name straight from the directory in memory, or read through the cache.
            const char *nameBytes = nullptr;
            if (base != 0 && cursor - base + e.FileNameLength <= whole.size()) {
                nameBytes = whole.constData() + (cursor - base);
                cursor += e.FileNameLength;
            } else {
                readBytes(name, e.FileNameLength, 11017);
                nameBytes = name.constData();
            }
            const QByteArrayView nameView(nameBytes, e.FileNameLength);
            e.StoredName = nameView.toByteArray();
            e.DirIndex = static_cast<quint32>(index);
            // Names flagged as UTF-8, and names of other hosts that are valid UTF-8, stay UTF-8;
            // DOS, OS/2 and NTFS names are in the OEM code page.
            const bool oemHost = e.HostSystem == 0 || e.HostSystem == 6 || (e.HostSystem == 11 && e.VersionMadeBy == 50);
            QString decoded;
            const bool ascii = std::all_of(nameView.begin(), nameView.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            if (ascii)
                decoded = QString::fromLatin1(nameView);
            else if (e.GeneralFlags & 0x0800)
                decoded = QString::fromUtf8(nameView);
            else if (CodePage == cpOEM || (CodePage == cpAUTO && oemHost))
                decoded = ConvertOEM(e.StoredName);
            else
                decoded = validUtf8(e.StoredName) ? QString::fromUtf8(nameView) : QString::fromLatin1(nameView);
            e.FileName = SetSlash(std::move(decoded), false);
            e.Encrypted = e.GeneralFlags & 1;
            readBytes(e.ExtraData, e.ExtraFieldLength, 10201);
            readBytes(e.FileComment, e.FileCommentLength, 11022);
            if (!e.ExtraData.isEmpty())
                applyZip64(e, e.ExtraData);
            if (e.LocalHeaderOffset < static_cast<quint64>(LeadingBytes))
                LeadingBytes = static_cast<qint64>(e.LocalHeaderOffset);
            const QChar *chars = e.FileName.constData();
            const qsizetype length = e.FileName.size();
            const bool directoryOnly = length > 0 && (chars[length - 1] == QLatin1Char('\\') || chars[length - 1] == QLatin1Char(':'));
            if (!UseDirOnlyEntries && directoryOnly) {
                ++DroppedDirCount;
                continue;
            }
            DirEntries.push_back(std::move(e));
            if (OnNewName)
                OnNewName(static_cast<int>(index + 1), DirEntries.back());
        }
        LastDiskNo = eoc.ThisDiskNo;
    } catch (const EZipKit &error) {
        ShowExceptionError(error);
        failed = true;
    } catch (const std::bad_alloc &) {
        ShowZipMessage(10103, QString());
        failed = true;
    } catch (const std::exception &error) {
        ShowZipMessage(10202, QString::fromLocal8Bit(error.what()));
        failed = true;
    }
    if (waitCursor)
        QApplication::restoreOverrideCursor();
    closeVolume();
    if (failed) {
        m_zipFileName.clear();
        LeadingBytes = 0;
    } else {
        LeadingBytes += position - static_cast<qint64>(eoc.CentralDirOffset);
    }
    if (OnDirUpdate)
        OnDirUpdate();
}

int TZipKit::QueryZip(const QString &fileName)
{
    RegularFile file(fileName);
    if (!file.isOpen())
        return -7;
    const qint64 size = file.size();
    const int fd = file.release();
    auto read = [&](qint64 at, void *buffer, qint64 n) { return at >= 0 && ::pread(fd, buffer, static_cast<size_t>(n), at) == n; };
    int bits = 0;
    std::uint8_t head[4] = {};
    if (read(0, head, 4)) {
        if (head[0] == 'M' && head[1] == 'Z')
            bits |= 0x01;
        const quint32 sig = u32le(head);
        bits |= sig == kLocalSig ? 0x02 : sig == kSpanSig ? 0x04 : sig == kCentralSig ? 0x08 : 0;
    }
    auto checkDirectory = [&](const std::uint8_t *end) {
        ZipEndOfCentral eoc;
        parseEnd(end, eoc);
        if (eoc.ThisDiskNo != eoc.CentralDirStartDisk)
            return false;
        std::uint8_t central[46];
        if (read(static_cast<qint64>(eoc.CentralDirOffset), central, 46) && u32le(central) == kCentralSig) {
            bits |= 0x40;
            std::uint8_t local[4];
            if (u16le(central + 34) == eoc.ThisDiskNo && read(u32le(central + 42), local, 4) && u32le(local) == kLocalSig)
                bits |= 0x20;
        }
        return true;
    };
    std::uint8_t last[kEndSize];
    bool atEnd = false;
    if (size >= kEndSize && read(size - kEndSize, last, kEndSize) && u32le(last) == kEndSig) {
        atEnd = true;
        bits |= 0x80 | (u16le(last + 20) == 0 ? 0x10 : 0);
        if (checkDirectory(last)) {
            ::close(fd);
            return bits;
        }
    }
    bits &= 0x1F;
    const qint64 block = std::min(size, kSearchBlock);
    QByteArray buffer(block, '\0');
    if (block > 0 && read(size - block, buffer.data(), block)) {
        const auto *p = reinterpret_cast<const std::uint8_t *>(buffer.constData());
        for (qint64 at = block - kEndSize - 1; at >= 0; --at) {
            if (u32le(p + at) != kEndSig)
                continue;
            bits |= 0x80;
            if (at + kEndSize + u16le(p + at + 20) == block)
                bits |= 0x10;
            if (checkDirectory(p + at))
                break;
            bits &= 0x1F;
        }
    }
    if (atEnd)
        bits |= 0x80;
    ::close(fd);
    return bits;
}

bool TZipKit::IsZipSFX(const QString &fileName)
{
    const int bits = QueryZip(fileName);
    return bits > 0 && (bits & 0xC1) == 0xC1;
}

// ----- extraction -----

int TZipKit::PerCent(quint32 total, quint32 done)
{
    if (total == 0 || done == 0)
        return 0;
    if (total < 30000)
        return static_cast<int>(done * 100 / total);
    return static_cast<int>(done / (total / 100));
}

void TZipKit::setLibDirectory(const QString &folder)
{
    m_libDirectory = folder.endsWith(QLatin1Char('/')) ? folder.left(folder.size() - 1) : folder;
}

void TZipKit::loadLibrary(int reason, int minimumVersion)
{
    m_loadReasons |= reason;
    if (!m_module) {
        m_unzVersion = 0;
        m_loadReasons = reason;
        QString path;
        if (!m_libDirectory.isEmpty()) {
            QString folder = m_libDirectory;
            if (folder.startsWith(QLatin1String("./")))
                folder = QCoreApplication::applicationDirPath() + folder.mid(1);
            path = folder + QLatin1Char('/') + QLatin1String(kLibraryFile);
            if (!QFileInfo::exists(path))
                path.clear();
        }
        if (path.isEmpty()) {
            // Beside the program, else wherever the system finds libraries.
            const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kLibraryFile);
            path = QFileInfo::exists(beside) ? beside : QLatin1String(kLibraryFile);
        }
        m_module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!m_module) {
            m_loadReasons = 0;
            throw EZipKit(10650, path);
        }
        m_execProc = dlsym(m_module, "UnzLibExec");
        auto *versionProc = reinterpret_cast<int (*)()>(dlsym(m_module, "GetUnzLibVersion"));
        m_loadedPath = path;
        m_unzVersion = m_execProc && versionProc ? versionProc() : 0;
        if (m_unzVersion < 153 || m_unzVersion > 300) {
            dlclose(m_module);
            m_module = nullptr;
            m_execProc = nullptr;
            m_loadReasons = 0;
            m_unzVersion = 0;
            throw EZipKit(10651, QString::fromLatin1(kLibraryFile));
        }
        if (Trace)
            ShowZipMessage(10652, m_loadedPath);
        else if (Verbose && OnMessage)
            OnMessage(0, QStringLiteral("trace: ") + LoadZipStr(10652, QStringLiteral("loaded ")) + m_loadedPath);
    }
    if (m_unzVersion < minimumVersion) {
        dropLibrary(~0);
        throw EZipKit(10651, QString::fromLatin1(kLibraryFile));
    }
}

void TZipKit::dropLibrary(int reasons)
{
    m_loadReasons &= ~reasons;
    if (m_loadReasons == 0 && m_module) {
        if (Trace)
            ShowZipMessage(10653, m_loadedPath);
        else if (Verbose && OnMessage)
            OnMessage(0, QStringLiteral("trace: ") + LoadZipStr(10653, QStringLiteral("unloaded ")) + m_loadedPath);
        dlclose(m_module);
        m_module = nullptr;
    }
    if (!m_module) {
        m_loadReasons = 0;
        m_unzVersion = 0;
        m_execProc = nullptr;
    }
}

int TZipKit::LoadUnzLib()
{
    try {
        loadLibrary(4, 173);
        return m_unzVersion;
    } catch (const EZipKit &error) {
        ShowExceptionError(error);
        return 0;
    }
}

void TZipKit::UnloadUnzLib()
{
    dropLibrary(4);
}

int TZipKit::Extract()
{
    if (Busy())
        return -255;
    m_listBusy = true;
    runExtraction(0, nullptr);
    m_listBusy = false;
    return ErrCode;
}

QByteArray *TZipKit::ExtractFileToStream(const QString &name)
{
    if (Busy())
        return nullptr;
    if (!name.isEmpty())
        FSpecArgs = QStringList{name};
    if (FSpecArgs.isEmpty()) {
        ShowZipMessage(10301, QString());
        return nullptr;
    }
    m_listBusy = true;
    runExtraction(1, nullptr);
    m_listBusy = false;
    return SuccessCount == 1 ? &MemStream : nullptr;
}

QByteArray *TZipKit::ExtractStreamToStream(const QByteArray &compressed, unsigned outputSize)
{
    if (Busy())
        return nullptr;
    if (&compressed == &MemStream) {
        ShowZipMessage(10306, QString());
        return nullptr;
    }
    MemStream = QByteArray(static_cast<qsizetype>(outputSize), '\0');
    m_listBusy = true;
    runExtraction(2, &compressed);
    m_listBusy = false;
    return SuccessCount == 1 ? &MemStream : nullptr;
}

int TZipKit::runExtraction(int mode, const QByteArray *compressed)
{
    const unsigned rememberedTries = PasswordReqCount;
    ErrCode = 0;
    SuccessCount = 0;
    LastMessage.clear();
    struct Cleanup {
        TZipKit &kit;
        int mode;
        unsigned tries;
        QString previousFolder;
        ~Cleanup()
        {
            kit.FSpecArgs.clear();
            kit.FSpecEntries.clear();
            if (mode == 0 && !previousFolder.isEmpty())
                QDir::setCurrent(previousFolder);
            if (kit.Unattended && kit.Password.isEmpty() && !kit.OnPasswordError)
                kit.PasswordReqCount = tries;
            kit.dropLibrary(2);
            kit.m_unzipBusy = false;
            kit.Cancel = false;
        }
    };
    if (mode < 2) {
        if (m_zipFileName.isEmpty()) {
            ShowZipMessage(10102, QString());
            return ErrCode;
        }
        if (DirEntries.empty())
            _List();
        if (DirEntries.empty()) {
            FSpecArgs.clear();
            FSpecEntries.clear();
            ShowZipMessage(11002, QString());
            return ErrCode;
        }
    }
    if (m_unzipBusy)
        return ErrCode;
    if (Unattended && Password.isEmpty() && !OnPasswordError) {
        PasswordReqCount = 0;
        ShowZipMessage(10502, QString());
    }
    Cancel = false;
    m_unzipBusy = true;
    Cleanup cleanup{*this, mode, rememberedTries, QDir::currentPath()};
    QString joined;
    try {
        QString workName = m_zipFileName;
        if (Spanned && mode < 2) {
            joined = ReadSpan();
            if (joined.isEmpty())
                return ErrCode;
            workName = joined;
        }
        UnzipParams params{};
        params.Version = 173;
        params.Caller = this;
        params.Reserved40 = 1;
        params.Callback = &TZipKit::UnzCallback;
        params.CodePageOpt = static_cast<std::uint16_t>(CodePage);
        params.TraceFlag = Trace ? 1 : 0;
        params.VerboseFlag = Verbose || Trace ? 1 : 0;
        params.DirNamesFlag = (ExtrOptions & ExtrDirNames) ? 1 : 0;
        params.OverwriteFlag = (ExtrOptions & ExtrOverWrite) ? 1 : 0;
        params.UpdateFlag = (ExtrOptions & ExtrUpdate) ? 1 : 0;
        params.FreshenFlag = (ExtrOptions & ExtrFreshen) && !(ExtrOptions & ExtrUpdate) ? 1 : 0;
        params.TestOnly = (ExtrOptions & ExtrTest) ? 1 : 0;
        const QByteArray archiveName = nativePath(workName);
        params.ArchiveName = archiveName.constData();
        params.PasswordTries = PasswordReqCount;
        const QByteArray password = Password.left(81).toUtf8();
        params.PasswordText = password.constData();
        // The folder is passed whole: a path cut at some length names another folder.
        QByteArray extractDir = nativePath(QDir::currentPath());
        if (mode == 0 && !ExtrBaseDir.isEmpty()) {
            if (!QFileInfo(ExtrBaseDir).isDir()) {
                if (!(ExtrOptions & ExtrForceDirs) || !QDir().mkpath(ExtrBaseDir))
                    throw EZipKit(10504, ExtrBaseDir);
            }
            extractDir = nativePath(ExtrBaseDir);
            QDir::setCurrent(ExtrBaseDir);
        }
        if (extractDir.size() > 1 && extractDir.endsWith('/'))
            extractDir.chop(1);
        params.ExtractDir = extractDir.data();
        SpecSet specs;
        collectSpecs(*this, mode, specs, params);
        params.SpecCount = static_cast<std::int32_t>(specs.records.size());
        params.Specs = specs.records.empty() ? nullptr : specs.records.data();
        if (mode == 2) {
            params.InFromMemory = 1;
            params.InBuffer = compressed->constData();
            params.InSize = static_cast<std::uint32_t>(compressed->size());
            params.OutToMemory = 1;
            params.OutBuffer = MemStream.data();
            params.OutSize = static_cast<std::uint32_t>(MemStream.size());
        }
        params.BlockCheck = 7;
        if (mode == 0 || params.OutToMemory) {
            loadLibrary(2, 173);
            auto *exec = reinterpret_cast<int (*)(UnzipParams *)>(m_execProc);
            TZipKit *outer = g_running;
            g_running = this;
            SuccessCount = exec ? exec(&params) : 0;
            g_running = outer;
        }
        if (mode > 0 && SuccessCount != 1)
            MemStream.clear();
    } catch (const EZipKit &error) {
        ShowExceptionError(error);
    } catch (const std::exception &) {
        ShowZipMessage(10501, QString());
    }
    if (!joined.isEmpty())
        QFile::remove(joined);
    return ErrCode;
}

int TZipKit::UnzCallback(UnzCallbackRecord *record)
{
    TZipKit *kit = record && record->Caller ? static_cast<TZipKit *>(record->Caller) : g_running;
    if (!kit)
        return 1;
    return kit->callback(*record);
}

int TZipKit::callback(UnzCallbackRecord &r)
{
    const int action = r.ActionCode;
    const int error = r.ErrorCode;
    const qint64 size = static_cast<qint64>(r.FileSize);
    const QString text = SetSlash(QString::fromUtf8(r.FileNameOrMsg, static_cast<qsizetype>(strnlen(r.FileNameOrMsg, sizeof r.FileNameOrMsg))), false);
    if (m_destroying)
        return -1;
    if (OnProgress) {
        switch (action) {
        case 1: OnProgress(0, text, size); break;
        case 2: OnProgress(1, QString(), size); break;
        case 3: OnProgress(2, QString(), 0); break;
        case 5: OnProgress(3, QString(), size); break;
        default: break;
        }
    }
    auto writeName = [&r](const QString &value, int limit) {
        const QByteArray bytes = value.toUtf8().left(limit);
        std::memset(r.FileNameOrMsg, 0, sizeof r.FileNameOrMsg);
        std::memcpy(r.FileNameOrMsg, bytes.constData(), static_cast<size_t>(bytes.size()));
    };
    switch (action) {
    case 0:
        if (OnTicker)
            OnTicker();
        break;
    case 1:
        ItemSize = size;
        ItemDone = 0;
        ItemName = text;
        if (OnItemProgress)
            OnItemProgress(ItemName, size, 0);
        break;
    case 2:
        ItemDone += size;
        if (OnItemProgress)
            OnItemProgress(ItemName, ItemSize, PerCent(static_cast<quint32>(ItemSize), static_cast<quint32>(ItemDone)));
        if (error != 1 && error != 2) {
            TotalDone += size;
            if (OnTotalProgress)
                OnTotalProgress(TotalSize, PerCent(static_cast<quint32>(TotalSize), static_cast<quint32>(TotalDone)));
        }
        break;
    case 3:
        ItemSize = ItemDone = TotalDone = 0;
        ItemName.clear();
        if (OnItemProgress)
            OnItemProgress(QString(), 0, -1);
        if (OnTotalProgress)
            OnTotalProgress(TotalSize, -1);
        break;
    case 4: {
        QString message = text;
        if (error != 0) {
            ErrCode = error & 0xFF;
            FullErrCode = error;
            if ((error & 0xFF) == 9 && !EventErrorText.isEmpty())
                message = QStringLiteral("Exception in Event ") + EventErrorText;
        }
        LastMessage = message;
        if (OnMessage)
            OnMessage(error, message);
        break;
    }
    case 6:
        TotalSize = size;
        TotalDone = 0;
        if (OnProgress)
            OnProgress(4, QString(), size);
        break;
    case 7:
        if (OnSetNewName) {
            QString name = text;
            bool changed = false;
            OnSetNewName(name, changed);
            if (changed) {
                writeName(name, 512);
                r.ErrorCode = 1;
            }
        }
        break;
    case 8: {
        QString password;
        unsigned repeat = static_cast<unsigned>(size);
        int answerAction = 0;
        if (OnPasswordError) {
            OnPasswordError(error & 1, password, text, repeat, answerAction);
        } else {
            const int result = askPassword(error & 1, password);
            if (result == PasswordDialog::CancelAll)
                answerAction = 2;
            else if (result == PasswordDialog::Abort)
                answerAction = 3;
        }
        if (!password.isEmpty()) {
            writeName(password, 81);
            r.ErrorCode = 1;
        } else {
            r.ErrorCode = 0;
            repeat = 0;
        }
        r.FileSize = repeat > 14 ? 15 : repeat;
        if (answerAction == 2)
            r.ActionCode = 0;
        if (answerAction == 3)
            Cancel = true;
        break;
    }
    case 9:
        if (OnCRC32Error) {
            bool doExtract = true;
            OnCRC32Error(text, static_cast<quint32>(size), static_cast<quint32>(error), doExtract);
            r.ErrorCode = doExtract ? 1 : 0;
        } else {
            r.ErrorCode = 2;
        }
        break;
    case 10:
        if (OnExtractOverwrite) {
            bool doOverwrite = size != 0;
            OnExtractOverwrite(text, (error >> 16) & 1, doOverwrite, error & 0xFFFF);
            r.FileSize = doOverwrite ? 1 : 0;
        }
        break;
    case 11:
        if (error != 0) {
            ErrCode = error & 0xFF;
            FullErrCode = error;
        }
        if (OnExtractSkipped)
            OnExtractSkipped(text, 0, error);
        break;
    case 13:
        MemStream = QByteArray(static_cast<qsizetype>(size), '\0');
        r.FileSize = reinterpret_cast<std::intptr_t>(MemStream.data());
        break;
    default:
        break;
    }
    if (OnAfterCallBack) {
        bool stop = Cancel;
        OnAfterCallBack(stop);
        if (stop)
            Cancel = true;
    } else if (processEvents) {
        processEvents();
    }
    return Cancel ? 1 : 0;
}
