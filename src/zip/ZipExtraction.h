// SPDX-License-Identifier: MIT
#pragma once

// One extraction run through the unzip library: the parameter block, the spec records and the
// buffers they point to, which live exactly as long as the run.

#include "UnzLibAbi.h"
#include "ZipDirectory.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <vector>

// The component's properties that decide what is extracted, where and how.
struct ZipExtractOptions {
    enum ExtrOpt { ExtrDirNames = 1, ExtrOverWrite = 2, ExtrFreshen = 4, ExtrUpdate = 8, ExtrForceDirs = 16, ExtrTest = 32 };

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
};

// What the last run left, and its progress while it goes.
struct ZipRunState {
    int SuccessCount = 0;
    int FullErrCode = 0;
    bool Cancel = false;
    qint64 TotalSize = 0, TotalDone = 0, ItemSize = 0, ItemDone = 0;
    QString ItemName;
    QString EventErrorText;
    QByteArray MemStream;
};

// Runs go to disk (mode 0), one entry to memory (1), or compressed memory to memory (2).
enum class ExtractionMode { ToDisk = 0, EntryToMemory = 1, MemoryToMemory = 2 };

class ExtractionRun {
public:
    ExtractionRun(const ZipExtractOptions &options, ZipReadOptions::CPOpts codePage, void *caller, UnzCallbackFunction callback);
    ExtractionRun(const ExtractionRun &) = delete;
    ExtractionRun &operator=(const ExtractionRun &) = delete;

    void setArchive(const QString &workName);
    // The folder the library writes into: the current one, or ExtrBaseDir on disk (created when
    // ExtrForceDirs allows, else error 10504), which then becomes the current folder.
    void setFolder(ExtractionMode mode);
    // The specs: to memory, the first entry whose name matches the first line of FSpecArgs
    // ignoring case, taken exactly (its size held against the limit before memory is sized for
    // it); otherwise the lines of FSpecArgs as patterns and the entries of FSpecEntries exactly.
    void chooseEntries(ExtractionMode mode, const std::vector<ZipDirEntry> &entries, QByteArray &memStream);
    void setMemoryInput(const QByteArray &compressed, QByteArray &memStream);

    // Whether the library has anything to do: to memory, only when an entry was found.
    bool needsLibrary(ExtractionMode mode) const { return mode == ExtractionMode::ToDisk || m_params.OutToMemory; }
    UnzipParams *params() { return &m_params; }

private:
    void addPattern(const QString &line);
    void addExact(const ZipDirEntry &entry);

    const ZipExtractOptions &m_options;
    UnzipParams m_params{};
    QByteArray m_archiveName;
    QByteArray m_password;
    QByteArray m_extractDir;
    // Copies of names and stored bytes: the entry list may be read anew while the library runs.
    std::deque<QByteArray> m_texts;
    std::vector<UnzSpecRecord> m_specs;
};
