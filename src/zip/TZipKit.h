// SPDX-License-Identifier: MIT
#pragma once

#include "ZipCallback.h"
#include "ZipDirectory.h"
#include "ZipDirectoryReader.h"
#include "ZipEvents.h"
#include "ZipExtraction.h"
#include "ZipLibrary.h"
#include "ZipMessages.h"
#include "ZipVolumes.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class Prompter;
struct UnzCallbackRecord;

// The zip component: reads an archive's central directory when its name is set, and extracts
// entries through the external unzip library (libunzlib.so), serving its callback.
//
// It is the face of parts that do the work: the directory reader and the volumes it reads from
// (which show nothing and need no window), the span joiner, the library loader, the extraction
// run and the callback server. Its published properties, state and events are grouped by the
// part that uses them, and each part is given only its groups; the face adds the message boxes,
// the password dialog and the wait cursor.
class TZipKit : public QObject,
                public ZipReadOptions,
                public ZipExtractOptions,
                public ZipDirectoryState,
                public ZipMessageState,
                public ZipRunState,
                public ZipEvents,
                private ZipReadHost {
public:
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
    static QString SetSlash(QString text, bool toForward) { return zipSlashes(std::move(text), toForward); }
    // 0 = found, 1 = nothing to read, -1 = error.
    int GetLastVolume(const QString &name, ZipEndOfCentral &eoc, bool quiet) { return m_volumes.GetLastVolume(name, eoc, quiet); }

    // Extraction.
    int Extract();
    QByteArray *ExtractFileToStream(const QString &name);
    QByteArray *ExtractStreamToStream(const QByteArray &compressed, unsigned outputSize);
    int LoadUnzLib();
    void UnloadUnzLib();
    int UnzVersion() const { return m_library.version(); }
    void SetCancel(bool cancel) { Cancel = cancel; }
    void AbortLibs() { Cancel = true; }
    void setPasswordReqCount(unsigned count) { PasswordReqCount = count > 14 ? 15 : count; }
    void setLibDirectory(const QString &folder);
    const QString &LibDirectory() const { return m_libDirectory; }
    static int PerCent(quint32 total, quint32 done) { return UnzPerCent(total, done); }
    // The callback the library calls (a plain function, as the library expects).
    static int UnzCallback(UnzCallbackRecord *record);

    // Messages.
    QString ZipStr(int id);
    QString LoadZipStr(int id, const QString &defaultText);
    void ShowZipMessage(int id, const QString &extra);
    void ShowExceptionError(const EZipKit &error);
    // The password prompt; result 1 ok, 2 cancel, 3 cancel all, 4 abort.
    int askPassword(bool forAdding, QString &answer);

private:
    // What reading asks of the component.
    void showMessage(int id, const QString &extra) override { ShowZipMessage(id, extra); }
    void showError(const EZipKit &error) override { ShowExceptionError(error); }
    void keepErrorId(int id) override { ErrCode = id; }
    QString messageText(int id, const QString &fallback) override { return LoadZipStr(id, fallback); }
    bool nextDiskEvent(int diskSeqNo, int diskTotal, const QString &drive, bool &cancel) override;
    bool diskPromptRefused(const QString &prompt, bool lastDisk) override;
    void entryListed(int seqNo, const ZipDirEntry &entry) override;

    void _List();
    void startListing();
    void directoryUpdated();
    void tellFault(const ZipFault &fault);
    int runExtraction(ExtractionMode mode, const QByteArray *compressed);
    void endRun(ExtractionMode mode, unsigned rememberedTries, const QString &previousFolder);
    bool haveEntries();
    int runLibrary(UnzipParams *params);
    QString ReadSpan();
    void traceLibrary(int id, const QString &defaultText, const QString &path);

    Prompter &m_prompter;
    QString m_zipFileName;
    bool m_listBusy = false;
    bool m_unzipBusy = false;
    bool m_zipBusy = false;
    bool m_destroying = false;
    QString m_libDirectory;
    ZipVolumes m_volumes;
    ZipDirectoryReader m_reader;
    UnzLibrary m_library;
    UnzCallbackServer m_callbacks;
};
