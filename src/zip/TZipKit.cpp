// SPDX-License-Identifier: MIT
#include "TZipKit.h"

#include "CodePage.h"
#include "PasswordDialog.h"
#include "Prompter.h"
#include "SpanJoin.h"
#include "ZipEndRecord.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>

static_assert(PasswordDialog::Ok == PasswordAnswer::Ok && PasswordDialog::CancelOne == PasswordAnswer::CancelOne
                  && PasswordDialog::CancelAll == PasswordAnswer::CancelAll && PasswordDialog::Abort == PasswordAnswer::Abort,
              "the dialog answers as the callback expects");

namespace {

// The component whose run is under way, for the library's callback.
thread_local TZipKit *g_running = nullptr;

// The wait cursor while a directory is read, and only while one of the program's windows is the
// active one.
class WaitCursor {
public:
    WaitCursor()
        : m_shown(QApplication::activeWindow() != nullptr)
    {
        if (m_shown)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (m_shown)
            QApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown;
};

}

TZipKit::TZipKit(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_volumes(*this, *this, *this)
    , m_reader(*this, *this, m_volumes, *this)
    , m_library([this](int id, const QString &defaultText, const QString &path) { traceLibrary(id, defaultText, path); })
    , m_callbacks(*this, *this, *this, [this](bool forAdding, QString &answer) { return askPassword(forAdding, answer); })
{
    processEvents = [] { QCoreApplication::processEvents(); };
}

TZipKit::~TZipKit()
{
    m_destroying = true;
    m_volumes.closeVolume();
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

// ----- what reading asks -----

bool TZipKit::nextDiskEvent(int diskSeqNo, int diskTotal, const QString &drive, bool &cancel)
{
    if (!OnGetNextDisk)
        return false;
    OnGetNextDisk(diskSeqNo, diskTotal, drive, cancel);
    return true;
}

bool TZipKit::diskPromptRefused(const QString &prompt, bool lastDisk)
{
    return m_prompter.showMessage({QCoreApplication::applicationName(), prompt, lastDisk ? MessageIcon::Error : MessageIcon::Information,
                                   MessageButtons::YesNo})
        != MessageAnswer::Yes;
}

void TZipKit::entryListed(int seqNo, const ZipDirEntry &entry)
{
    if (OnNewName)
        OnNewName(seqNo, entry);
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
    return CodePage == cpNone ? QString::fromLatin1(m_volumes.comment()) : CodePage::decode("CP437", m_volumes.comment());
}

void TZipKit::FreeZipDirEntryRecords()
{
    DirEntries.clear();
}

QString TZipKit::ConvertOEM(const QByteArray &text) const
{
    return CodePage::decode("CP437", text);
}

int TZipKit::QueryZip(const QString &fileName)
{
    return queryZipFile(fileName);
}

bool TZipKit::IsZipSFX(const QString &fileName)
{
    const int bits = QueryZip(fileName);
    return bits > 0 && (bits & 0xC1) == 0xC1;
}

// Every assignment of a name replaces the whole directory state.
void TZipKit::startListing()
{
    FreeZipDirEntryRecords();
    RawFileSize = LeadingBytes = CentralDirPos = 0;
    m_volumes.clearComment();
    Spanned = false;
    OffsetMismatch = false;
    DroppedDirCount = 0;
    ErrCode = 0;
}

void TZipKit::directoryUpdated()
{
    if (OnDirUpdate)
        OnDirUpdate();
}

void TZipKit::tellFault(const ZipFault &fault)
{
    switch (fault.kind) {
    case ZipFault::Kind::None: break;
    case ZipFault::Kind::Error: ShowExceptionError(*fault.error); break;
    case ZipFault::Kind::OutOfMemory: ShowZipMessage(10103, QString()); break;
    case ZipFault::Kind::Other: ShowZipMessage(10202, fault.text); break;
    }
}

void TZipKit::_List()
{
    startListing();
    if (m_zipFileName.isEmpty())
        return directoryUpdated();
    ZipEndOfCentral eoc;
    const int found = m_volumes.GetLastVolume(m_zipFileName, eoc, true);
    if (found == -1)
        return;
    if (found == 1)
        return directoryUpdated();
    WaitCursor waitCursor;
    const ZipFault fault = m_reader.read(eoc);
    // Told while the wait cursor is still up, as the error was found.
    tellFault(fault);
    waitCursor.restore();
    m_volumes.closeVolume();
    // Entries read before the error stay, but the archive is no longer named, so none count.
    if (fault) {
        m_zipFileName.clear();
        LeadingBytes = 0;
    }
    directoryUpdated();
}

// ----- extraction -----

void TZipKit::setLibDirectory(const QString &folder)
{
    m_libDirectory = folder.endsWith(QLatin1Char('/')) ? folder.left(folder.size() - 1) : folder;
}

void TZipKit::traceLibrary(int id, const QString &defaultText, const QString &path)
{
    if (Trace)
        ShowZipMessage(id, path);
    else if (Verbose && OnMessage)
        OnMessage(0, QStringLiteral("trace: ") + LoadZipStr(id, defaultText) + path);
}

int TZipKit::LoadUnzLib()
{
    try {
        m_library.load(UnzLibrary::Explicit, 173, m_libDirectory);
        return m_library.version();
    } catch (const EZipKit &error) {
        ShowExceptionError(error);
        return 0;
    }
}

void TZipKit::UnloadUnzLib()
{
    m_library.drop(UnzLibrary::Explicit);
}

int TZipKit::Extract()
{
    if (Busy())
        return -255;
    m_listBusy = true;
    runExtraction(ExtractionMode::ToDisk, nullptr);
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
    runExtraction(ExtractionMode::EntryToMemory, nullptr);
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
    runExtraction(ExtractionMode::MemoryToMemory, &compressed);
    m_listBusy = false;
    return SuccessCount == 1 ? &MemStream : nullptr;
}

// An archive named and listed, or the reason told why not.
bool TZipKit::haveEntries()
{
    if (m_zipFileName.isEmpty()) {
        ShowZipMessage(10102, QString());
        return false;
    }
    if (DirEntries.empty())
        _List();
    if (DirEntries.empty()) {
        FSpecArgs.clear();
        FSpecEntries.clear();
        ShowZipMessage(11002, QString());
        return false;
    }
    return true;
}

QString TZipKit::ReadSpan()
{
    return SpanJoiner(m_volumes, *this, *this).join(m_zipFileName, TempDir);
}

int TZipKit::runLibrary(UnzipParams *params)
{
    m_library.load(UnzLibrary::ForRun, 173, m_libDirectory);
    TZipKit *outer = g_running;
    g_running = this;
    const int processed = m_library.run(params);
    g_running = outer;
    return processed;
}

// Whatever way a run ends: no names left to extract, the folder and the password tries as they
// were, the library given back, and the component free again.
void TZipKit::endRun(ExtractionMode mode, unsigned rememberedTries, const QString &previousFolder)
{
    FSpecArgs.clear();
    FSpecEntries.clear();
    if (mode == ExtractionMode::ToDisk && !previousFolder.isEmpty())
        QDir::setCurrent(previousFolder);
    if (Unattended && Password.isEmpty() && !OnPasswordError)
        PasswordReqCount = rememberedTries;
    m_library.drop(UnzLibrary::ForRun);
    m_unzipBusy = false;
    Cancel = false;
}

int TZipKit::runExtraction(ExtractionMode mode, const QByteArray *compressed)
{
    const unsigned rememberedTries = PasswordReqCount;
    ErrCode = 0;
    SuccessCount = 0;
    LastMessage.clear();
    if (mode != ExtractionMode::MemoryToMemory && !haveEntries())
        return ErrCode;
    if (m_unzipBusy)
        return ErrCode;
    if (Unattended && Password.isEmpty() && !OnPasswordError) {
        PasswordReqCount = 0;
        ShowZipMessage(10502, QString());
    }
    Cancel = false;
    m_unzipBusy = true;
    const QString previousFolder = QDir::currentPath();
    const auto cleanup = qScopeGuard([&] { endRun(mode, rememberedTries, previousFolder); });
    QString joined;
    try {
        if (Spanned && mode != ExtractionMode::MemoryToMemory) {
            joined = ReadSpan();
            if (joined.isEmpty())
                return ErrCode;
        }
        ExtractionRun run(*this, CodePage, this, &TZipKit::UnzCallback);
        run.setArchive(joined.isEmpty() ? m_zipFileName : joined);
        run.setFolder(mode);
        run.chooseEntries(mode, DirEntries, MemStream);
        if (mode == ExtractionMode::MemoryToMemory)
            run.setMemoryInput(*compressed, MemStream);
        if (run.needsLibrary(mode))
            SuccessCount = runLibrary(run.params());
        if (mode != ExtractionMode::ToDisk && SuccessCount != 1)
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
    return kit->m_callbacks.serve(*record, kit->m_destroying);
}
