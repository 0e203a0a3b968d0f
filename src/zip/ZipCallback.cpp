// SPDX-License-Identifier: MIT
#include "ZipCallback.h"

#include <cstring>

int UnzPerCent(quint32 total, quint32 done)
{
    if (total == 0 || done == 0)
        return 0;
    if (total < 30000)
        return static_cast<int>(done * 100 / total);
    return static_cast<int>(done / (total / 100));
}

namespace {

void writeText(UnzCallbackRecord &record, const QString &value, int limit)
{
    const QByteArray bytes = value.toUtf8().left(limit);
    std::memset(record.FileNameOrMsg, 0, sizeof record.FileNameOrMsg);
    std::memcpy(record.FileNameOrMsg, bytes.constData(), static_cast<size_t>(bytes.size()));
}

}

UnzCallbackServer::UnzCallbackServer(ZipEvents &events, ZipRunState &run, ZipMessageState &messages, PasswordPrompt askPassword)
    : m_events(events)
    , m_run(run)
    , m_messages(messages)
    , m_askPassword(std::move(askPassword))
{
}

int UnzCallbackServer::serve(UnzCallbackRecord &record, bool destroying)
{
    const QString text = zipSlashes(QString::fromUtf8(record.FileNameOrMsg, static_cast<qsizetype>(strnlen(record.FileNameOrMsg, sizeof record.FileNameOrMsg))), false);
    if (destroying)
        return -1;
    notifyProgress(record.ActionCode, text, static_cast<qint64>(record.FileSize));
    act(record, text);
    afterCall();
    return m_run.Cancel ? 1 : 0;
}

void UnzCallbackServer::notifyProgress(int action, const QString &text, qint64 size)
{
    if (!m_events.OnProgress)
        return;
    switch (action) {
    case UnzAction::NewFile: m_events.OnProgress(0, text, size); break;
    case UnzAction::Progress: m_events.OnProgress(1, QString(), size); break;
    case UnzAction::EndOfBatch: m_events.OnProgress(2, QString(), 0); break;
    case UnzAction::FileCount: m_events.OnProgress(3, QString(), size); break;
    default: break;
    }
}

void UnzCallbackServer::act(UnzCallbackRecord &r, const QString &text)
{
    const int error = r.ErrorCode;
    const qint64 size = static_cast<qint64>(r.FileSize);
    switch (r.ActionCode) {
    case UnzAction::Ticker:
        if (m_events.OnTicker)
            m_events.OnTicker();
        break;
    case UnzAction::NewFile: fileStarts(text, size); break;
    case UnzAction::Progress: bytesDone(error, size); break;
    case UnzAction::EndOfBatch: batchEnded(); break;
    case UnzAction::Message: libraryMessage(error, text); break;
    case UnzAction::TotalSize: totalSize(size); break;
    case UnzAction::NewName: newName(r, text); break;
    case UnzAction::Password: password(r, text); break;
    case UnzAction::CrcError: crcError(r, text); break;
    case UnzAction::Overwrite: overwrite(r, text); break;
    case UnzAction::Skipped: skipped(error, text); break;
    case UnzAction::MemoryNeeded: memoryNeeded(r); break;
    default: break;
    }
}

void UnzCallbackServer::fileStarts(const QString &text, qint64 size)
{
    m_run.ItemSize = size;
    m_run.ItemDone = 0;
    m_run.ItemName = text;
    if (m_events.OnItemProgress)
        m_events.OnItemProgress(m_run.ItemName, size, 0);
}

void UnzCallbackServer::bytesDone(int error, qint64 size)
{
    m_run.ItemDone += size;
    if (m_events.OnItemProgress)
        m_events.OnItemProgress(m_run.ItemName, m_run.ItemSize, UnzPerCent(static_cast<quint32>(m_run.ItemSize), static_cast<quint32>(m_run.ItemDone)));
    // Bytes of a file that is only tested or skipped are not part of the total.
    if (error != 1 && error != 2) {
        m_run.TotalDone += size;
        if (m_events.OnTotalProgress)
            m_events.OnTotalProgress(m_run.TotalSize, UnzPerCent(static_cast<quint32>(m_run.TotalSize), static_cast<quint32>(m_run.TotalDone)));
    }
}

void UnzCallbackServer::batchEnded()
{
    m_run.ItemSize = m_run.ItemDone = m_run.TotalDone = 0;
    m_run.ItemName.clear();
    if (m_events.OnItemProgress)
        m_events.OnItemProgress(QString(), 0, -1);
    if (m_events.OnTotalProgress)
        m_events.OnTotalProgress(m_run.TotalSize, -1);
}

void UnzCallbackServer::libraryMessage(int error, const QString &text)
{
    QString message = text;
    if (error != 0) {
        m_messages.ErrCode = error & 0xFF;
        m_run.FullErrCode = error;
        if ((error & 0xFF) == 9 && !m_run.EventErrorText.isEmpty())
            message = QStringLiteral("Exception in Event ") + m_run.EventErrorText;
    }
    m_messages.LastMessage = message;
    if (m_events.OnMessage)
        m_events.OnMessage(error, message);
}

void UnzCallbackServer::totalSize(qint64 size)
{
    m_run.TotalSize = size;
    m_run.TotalDone = 0;
    if (m_events.OnProgress)
        m_events.OnProgress(4, QString(), size);
}

void UnzCallbackServer::newName(UnzCallbackRecord &r, const QString &text)
{
    if (!m_events.OnSetNewName)
        return;
    QString name = text;
    bool changed = false;
    m_events.OnSetNewName(name, changed);
    if (changed) {
        writeText(r, name, 512);
        r.ErrorCode = 1;
    }
}

void UnzCallbackServer::password(UnzCallbackRecord &r, const QString &text)
{
    QString answer;
    unsigned repeat = static_cast<unsigned>(r.FileSize);
    int answerAction = 0;
    const bool forAdding = r.ErrorCode & 1;
    if (m_events.OnPasswordError) {
        m_events.OnPasswordError(forAdding, answer, text, repeat, answerAction);
    } else {
        const int result = m_askPassword(forAdding, answer);
        if (result == PasswordAnswer::CancelAll)
            answerAction = 2;
        else if (result == PasswordAnswer::Abort)
            answerAction = 3;
    }
    if (!answer.isEmpty()) {
        writeText(r, answer, 81);
        r.ErrorCode = 1;
    } else {
        // No password: the library stops asking for this file.
        r.ErrorCode = 0;
        repeat = 0;
    }
    r.FileSize = repeat > 14 ? 15 : repeat;
    if (answerAction == 2)
        r.ActionCode = 0;
    if (answerAction == 3)
        m_run.Cancel = true;
}

void UnzCallbackServer::crcError(UnzCallbackRecord &r, const QString &text)
{
    if (!m_events.OnCRC32Error) {
        r.ErrorCode = 2;
        return;
    }
    bool doExtract = true;
    m_events.OnCRC32Error(text, static_cast<quint32>(r.FileSize), static_cast<quint32>(r.ErrorCode), doExtract);
    r.ErrorCode = doExtract ? 1 : 0;
}

void UnzCallbackServer::overwrite(UnzCallbackRecord &r, const QString &text)
{
    // Without a handler the library's own proposal stands.
    if (!m_events.OnExtractOverwrite)
        return;
    bool doOverwrite = r.FileSize != 0;
    m_events.OnExtractOverwrite(text, (r.ErrorCode >> 16) & 1, doOverwrite, r.ErrorCode & 0xFFFF);
    r.FileSize = doOverwrite ? 1 : 0;
}

void UnzCallbackServer::skipped(int error, const QString &text)
{
    if (error != 0) {
        m_messages.ErrCode = error & 0xFF;
        m_run.FullErrCode = error;
    }
    if (m_events.OnExtractSkipped)
        m_events.OnExtractSkipped(text, 0, error);
}

void UnzCallbackServer::memoryNeeded(UnzCallbackRecord &r)
{
    m_run.MemStream = QByteArray(static_cast<qsizetype>(r.FileSize), '\0');
    r.FileSize = reinterpret_cast<std::intptr_t>(m_run.MemStream.data());
}

void UnzCallbackServer::afterCall()
{
    if (m_events.OnAfterCallBack) {
        bool stop = m_run.Cancel;
        m_events.OnAfterCallBack(stop);
        if (stop)
            m_run.Cancel = true;
    } else if (m_events.processEvents) {
        m_events.processEvents();
    }
}
