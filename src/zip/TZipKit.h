// SPDX-License-Identifier: MIT
#pragma once

#include "ZipMessages.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Prompter;
class QDialog;
struct UnzCallbackRecord;

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

// The zip component: reads an archive's central directory when its name is set, and extracts
// entries through the external unzip library (libunzlib.so), serving its callback.
class TZipKit : public QObject {
public:
    enum CPOpts { cpAUTO = 0, cpNone = 1, cpOEM = 2 };
    enum SpanOpt { spNoVolumeName = 1, spCompatName = 2, spWipeFiles = 4, spTryFormat = 8 };
    enum ExtrOpt { ExtrDirNames = 1, ExtrOverWrite = 2, ExtrFreshen = 4, ExtrUpdate = 8, ExtrForceDirs = 16, ExtrTest = 32 };

    explicit TZipKit(Prompter &prompter, QObject *parent = nullptr);
    ~TZipKit() override;

    static constexpr const char *VersionInfo = "1.73";

    // Directory.
    const QString &ZipFileName() const { return m_zipFileName; }
    void SetFileName(const QString &name);
    int List();
    bool Busy() const { return m_listBusy || m_unzipBusy || m_zipBusy; }
    int Count() const;
    const ZipDirEntry &DirEntry(int index) const { return DirEntries[static_cast<size_t>(index)]; }
    QString ZipComment() const;
    void FreeZipDirEntryRecords();
    int QueryZip(const QString &fileName);
    bool IsZipSFX(const QString &fileName);
    QString ConvertOEM(const QByteArray &text) const;
    static QString SetSlash(QString text, bool toForward);

    // Extraction.
    int Extract();
    QByteArray *ExtractFileToStream(const QString &name);
    QByteArray *ExtractStreamToStream(const QByteArray &compressed, unsigned outputSize);
    int LoadUnzLib();
    void UnloadUnzLib();
    int UnzVersion() const { return m_unzVersion; }
    void SetCancel(bool cancel) { Cancel = cancel; }
    void AbortLibs() { Cancel = true; }
    void setPasswordReqCount(unsigned count) { PasswordReqCount = count > 14 ? 15 : count; }
    void setLibDirectory(const QString &folder);
    const QString &LibDirectory() const { return m_libDirectory; }

    // Messages.
    QString ZipStr(int id);
    QString LoadZipStr(int id, const QString &defaultText);
    void ShowZipMessage(int id, const QString &extra);
    void ShowExceptionError(const EZipKit &error);
    // The password prompt; result 1 ok, 2 cancel, 3 cancel all, 4 abort.
    int askPassword(bool forAdding, QString &answer);

    // Properties.
    bool UseDirOnlyEntries = false;
    CPOpts CodePage = cpAUTO;
    int SpanOptions = 0;
    bool Unattended = false;
    bool Verbose = false;
    bool Trace = false;
    QStringList FSpecArgs;
    // Entries named by their index in DirEntries: each is extracted by its stored name and its
    // place in the directory, never matched as a pattern, and written under its FileName (kept
    // inside the extraction folder, or refused). Cleared by every extraction, like FSpecArgs.
    QList<int> FSpecEntries;
    QString ExtrBaseDir;
    int ExtrOptions = 0;
    QString Password;
    unsigned PasswordReqCount = 1;
    QString TempDir;

    // State.
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
    int ErrCode = 0;
    QString LastMessage;
    // Boxes shown so far, so that a caller can tell whether a failure has been told.
    int ShownMessageCount = 0;
    int SuccessCount = 0;
    int FullErrCode = 0;
    bool Cancel = false;
    qint64 TotalSize = 0, TotalDone = 0, ItemSize = 0, ItemDone = 0;
    QString ItemName;
    QString EventErrorText;
    QByteArray MemStream;
    QString VolumeName;
    QString VolumeLabel;
    bool DriveIsFixed = true;

    // Events.
    std::function<void()> OnDirUpdate;
    std::function<void(int seqNo, const ZipDirEntry &)> OnNewName;
    std::function<void(int diskSeqNo, int diskTotal, const QString &drive, bool &cancel)> OnGetNextDisk;
    std::function<void(int errCode, const QString &message)> OnMessage;
    std::function<void(int id, QString &text)> OnZipStr;
    std::function<void(int progressType, const QString &fileName, qint64 fileSize)> OnProgress;
    std::function<void(const QString &item, qint64 fileSize, int perCent)> OnItemProgress;
    std::function<void(qint64 totalSize, int perCent)> OnTotalProgress;
    std::function<void()> OnTicker;
    std::function<void(QString &oldFileName, bool &isChanged)> OnSetNewName;
    std::function<void(bool isZipAction, QString &newPassword, const QString &forFile, unsigned &repeatCount, int &action)> OnPasswordError;
    std::function<void(const QString &forFile, quint32 foundCrc, quint32 expectedCrc, bool &doExtract)> OnCRC32Error;
    std::function<void(const QString &forFile, bool isOlder, bool &doOverwrite, int dirIndex)> OnExtractOverwrite;
    std::function<void(const QString &forFile, int skipType, int extError)> OnExtractSkipped;
    std::function<void(bool &doStop)> OnAfterCallBack;
    // Lets the window run pending events during a run; tests may replace it.
    std::function<void()> processEvents;

    // 0 = found, 1 = nothing to read, -1 = error.
    int GetLastVolume(const QString &name, ZipEndOfCentral &eoc, bool quiet);
    static int PerCent(quint32 total, quint32 done);

    // The callback the library calls (a plain function, as the library expects).
    static int UnzCallback(UnzCallbackRecord *record);

private:
    void _List();
    bool OpenEOC(ZipEndOfCentral &eoc, bool raiseErrors);
    void GetNewDisk(int diskNo);
    void CheckForDisk();
    QString volumeNameFor(int diskNo) const;
    void closeVolume();
    bool openVolume();
    bool readAt(qint64 offset, void *buffer, qint64 length);
    int runExtraction(int mode, const QByteArray *compressed);
    int callback(UnzCallbackRecord &record);
    QString ReadSpan();
    void loadLibrary(int reason, int minimumVersion);
    void dropLibrary(int reasons);

    Prompter &m_prompter;
    QString m_zipFileName;
    QByteArray m_zipComment;
    bool m_listBusy = false;
    bool m_unzipBusy = false;
    bool m_zipBusy = false;
    bool m_destroying = false;
    int m_volumeFile = -1;
    int m_volumeSerial = 0;          // counts volume opens

    // The unzip library holder.
    void *m_module = nullptr;
    QString m_loadedPath;
    int m_loadReasons = 0;
    int m_unzVersion = 0;
    QString m_libDirectory;
    void *m_execProc = nullptr;
};
