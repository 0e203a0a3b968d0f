// SPDX-License-Identifier: MIT
#pragma once

// Serves the unzip library's callback: each call is passed on to the component's events, the
// progress counters follow it, and the answers the events give are written back into the
// library's record.

#include "UnzLibAbi.h"
#include "ZipEvents.h"
#include "ZipExtraction.h"

#include <functional>

// The answers of the password prompt.
namespace PasswordAnswer {
constexpr int Ok = 1, CancelOne = 2, CancelAll = 3, Abort = 4;
}

// done as a percentage of total, in unsigned 32-bit arithmetic: 0 when either is 0.
int UnzPerCent(quint32 total, quint32 done);

class UnzCallbackServer {
public:
    // The password prompt: one of PasswordAnswer, with the password typed.
    using PasswordPrompt = std::function<int(bool forAdding, QString &answer)>;

    UnzCallbackServer(ZipEvents &events, ZipRunState &run, ZipMessageState &messages, PasswordPrompt askPassword);

    // One call of the library: 1 when the run is to stop, -1 while the component goes away.
    int serve(UnzCallbackRecord &record, bool destroying);

private:
    void notifyProgress(int action, const QString &text, qint64 size);
    void act(UnzCallbackRecord &record, const QString &text);
    void fileStarts(const QString &text, qint64 size);
    void bytesDone(int error, qint64 size);
    void batchEnded();
    void libraryMessage(int error, const QString &text);
    void totalSize(qint64 size);
    void newName(UnzCallbackRecord &record, const QString &text);
    void password(UnzCallbackRecord &record, const QString &text);
    void crcError(UnzCallbackRecord &record, const QString &text);
    void overwrite(UnzCallbackRecord &record, const QString &text);
    void skipped(int error, const QString &text);
    void memoryNeeded(UnzCallbackRecord &record);
    void afterCall();

    ZipEvents &m_events;
    ZipRunState &m_run;
    ZipMessageState &m_messages;
    PasswordPrompt m_askPassword;
};
