// SPDX-License-Identifier: MIT
#pragma once

#include "ZipDirectory.h"

#include <functional>

// The component's events: reading a directory fires the first three, messages the next two, and
// the unzip library's callback the rest.
struct ZipEvents {
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
};
