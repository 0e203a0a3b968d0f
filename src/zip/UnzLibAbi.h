// SPDX-License-Identifier: MIT
#pragma once

// The interface between the zip component and the unzip library (libunzlib.so): the parameter
// block, the spec records and the callback record, in their fields' order. Pointer fields are
// pointer-sized; where pointers are 4 bytes the block has its 148-byte layout.

#include <cstddef>
#include <cstdint>

extern "C" {

struct UnzCallbackRecord;
typedef int (*UnzCallbackFunction)(UnzCallbackRecord *record);

// A spec names entries by a pattern (wildcards, case ignored), or, with Exact set, names one
// entry by its place in the central directory and its stored name byte for byte; FileSpec then
// gives the name to write it under, the one the caller lists and looks for.
struct UnzSpecRecord {
    const char *FileSpec;           // a zero-terminated name or wildcard
    std::uint32_t Exact;
    std::uint32_t EntryIndex;       // every central header counted, folders too
    const char *StoredName;
    std::uint32_t StoredNameLength;
    std::uint8_t Reserved[52];
};

struct UnzipParams {
    void *OwnerWindow;
    void *Caller;
    std::int32_t Version;
    UnzCallbackFunction Callback;
    std::int32_t TraceFlag;
    std::uint16_t CodePageOpt;
    std::uint16_t Padding22;
    const char *PasswordText;
    std::int32_t TestOnly;
    std::int32_t Reserved32;
    std::int32_t Reserved36;
    std::int32_t Reserved40;
    std::int32_t VerboseFlag;
    std::int32_t UpdateFlag;
    std::int32_t FreshenFlag;
    std::int32_t DirNamesFlag;
    std::int32_t OverwriteFlag;
    std::int32_t SpecCount;
    const char *ArchiveName;
    UnzSpecRecord *Specs;
    std::int32_t Reserved76;
    std::int32_t OutToMemory;
    void *OutBuffer;
    std::uint32_t OutSize;
    std::int32_t InFromMemory;
    const void *InBuffer;
    std::uint32_t InSize;
    std::uint32_t PasswordTries;
    char *ExtractDir;
    std::int32_t Reserved112[8];
    std::int32_t BlockCheck;
};

struct UnzCallbackRecord {
    std::int32_t Reserved0;
    void *Caller;
    std::int32_t Reserved8;
    std::int32_t IsOperationZip;
    std::int32_t ActionCode;
    std::int32_t ErrorCode;
    std::intptr_t FileSize;         // a size, a count, a flag or an address, per action
    char FileNameOrMsg[513];
    char CommentText[512];
    void *ExtraDataPtr;
};

int UnzLibExec(UnzipParams *params);
int GetUnzLibVersion();
}

static_assert(sizeof(void *) != 4 || sizeof(UnzipParams) == 148, "the parameter block keeps its 32-bit layout");
static_assert(sizeof(void *) != 4 || offsetof(UnzipParams, ExtractDir) == 108, "ExtractDir at offset 108");
static_assert(sizeof(void *) != 4 || sizeof(UnzSpecRecord) == 72, "spec records are 72 bytes");

// Callback actions.
namespace UnzAction {
constexpr int Ticker = 0, NewFile = 1, Progress = 2, EndOfBatch = 3, Message = 4, FileCount = 5, TotalSize = 6, NewName = 7,
              Password = 8, CrcError = 9, Overwrite = 10, Skipped = 11, Comment = 12, MemoryNeeded = 13, ExtraData = 14,
              Stage = 15, StageProgress = 16;
}
// Error values the library reports (low byte of ErrorCode in actions 4 and 11).
namespace UnzError {
constexpr int Open = 1, Read = 2, Crc = 3, Password = 4, Write = 5, Unsafe = 6, Exists = 7, Data = 8, Missing = 10;
}
