// SPDX-License-Identifier: MIT
#include "ZipExtraction.h"

#include "ExtractionGuard.h"
#include "NativeFile.h"

#include <QDir>
#include <QFileInfo>

ExtractionRun::ExtractionRun(const ZipExtractOptions &options, ZipReadOptions::CPOpts codePage, void *caller, UnzCallbackFunction callback)
    : m_options(options)
{
    const int extr = options.ExtrOptions;
    m_params.Version = 173;
    m_params.Caller = caller;
    m_params.Reserved40 = 1;
    m_params.Callback = callback;
    m_params.CodePageOpt = static_cast<std::uint16_t>(codePage);
    m_params.TraceFlag = options.Trace ? 1 : 0;
    m_params.VerboseFlag = options.Verbose || options.Trace ? 1 : 0;
    m_params.DirNamesFlag = (extr & ZipExtractOptions::ExtrDirNames) ? 1 : 0;
    m_params.OverwriteFlag = (extr & ZipExtractOptions::ExtrOverWrite) ? 1 : 0;
    m_params.UpdateFlag = (extr & ZipExtractOptions::ExtrUpdate) ? 1 : 0;
    m_params.FreshenFlag = (extr & ZipExtractOptions::ExtrFreshen) && !(extr & ZipExtractOptions::ExtrUpdate) ? 1 : 0;
    m_params.TestOnly = (extr & ZipExtractOptions::ExtrTest) ? 1 : 0;
    m_params.BlockCheck = 7;
}

void ExtractionRun::setArchive(const QString &workName)
{
    m_archiveName = nativePath(workName);
    m_params.ArchiveName = m_archiveName.constData();
    m_params.PasswordTries = m_options.PasswordReqCount;
    m_password = m_options.Password.left(81).toUtf8();
    m_params.PasswordText = m_password.constData();
}

void ExtractionRun::setFolder(ExtractionMode mode)
{
    // The folder is passed whole: a path cut at some length names another folder.
    m_extractDir = nativePath(QDir::currentPath());
    const QString &folder = m_options.ExtrBaseDir;
    if (mode == ExtractionMode::ToDisk && !folder.isEmpty()) {
        if (!QFileInfo(folder).isDir()) {
            if (!(m_options.ExtrOptions & ZipExtractOptions::ExtrForceDirs) || !QDir().mkpath(folder))
                throw EZipKit(10504, folder);
        }
        m_extractDir = nativePath(folder);
        QDir::setCurrent(folder);
    }
    if (m_extractDir.size() > 1 && m_extractDir.endsWith('/'))
        m_extractDir.chop(1);
    m_params.ExtractDir = m_extractDir.data();
}

void ExtractionRun::addPattern(const QString &line)
{
    m_texts.push_back(zipSlashes(line, true).toUtf8());
    UnzSpecRecord record{};
    record.FileSpec = m_texts.back().constData();
    m_specs.push_back(record);
}

void ExtractionRun::addExact(const ZipDirEntry &entry)
{
    m_texts.push_back(nativePath(zipSlashes(entry.FileName, true)));
    const char *name = m_texts.back().constData();
    m_texts.push_back(entry.StoredName);
    UnzSpecRecord record{};
    record.FileSpec = name;
    record.Exact = 1;
    record.EntryIndex = entry.DirIndex;
    record.StoredName = m_texts.back().constData();
    record.StoredNameLength = static_cast<std::uint32_t>(m_texts.back().size());
    m_specs.push_back(record);
}

void ExtractionRun::chooseEntries(ExtractionMode mode, const std::vector<ZipDirEntry> &entries, QByteArray &memStream)
{
    if (mode == ExtractionMode::EntryToMemory) {
        const QString wanted = m_options.FSpecArgs.value(0);
        for (const ZipDirEntry &e : entries) {
            if (e.FileName.compare(wanted, Qt::CaseInsensitive) != 0 && e.FileName.compare(zipSlashes(wanted, false), Qt::CaseInsensitive) != 0)
                continue;
            // The size is the archive's word: held against the limit before memory is taken for it.
            const QString refused = ExtractionGuard::refusal(e.FileName, e.UncompressedSize, ExtractionGuard::Limit, std::nullopt);
            if (!refused.isEmpty())
                throw EZipKit(ZipText::EntryRefused, refused, QString());
            memStream = QByteArray(static_cast<qsizetype>(e.UncompressedSize), '\0');
            m_params.OutToMemory = 1;
            m_params.OutBuffer = memStream.data();
            m_params.OutSize = static_cast<std::uint32_t>(memStream.size());
            // The entry found is the one extracted, whatever other entry the name would match.
            addExact(e);
            break;
        }
    } else {
        for (const QString &line : m_options.FSpecArgs)
            addPattern(line);
        for (const int index : m_options.FSpecEntries) {
            if (index < 0 || static_cast<size_t>(index) >= entries.size())
                throw EZipKit(ZipText::EntryRefused, QStringLiteral("The archive has no entry number %1.").arg(index), QString());
            addExact(entries[static_cast<size_t>(index)]);
        }
    }
    m_params.SpecCount = static_cast<std::int32_t>(m_specs.size());
    m_params.Specs = m_specs.empty() ? nullptr : m_specs.data();
}

void ExtractionRun::setMemoryInput(const QByteArray &compressed, QByteArray &memStream)
{
    m_params.InFromMemory = 1;
    m_params.InBuffer = compressed.constData();
    m_params.InSize = static_cast<std::uint32_t>(compressed.size());
    m_params.OutToMemory = 1;
    m_params.OutBuffer = memStream.data();
    m_params.OutSize = static_cast<std::uint32_t>(memStream.size());
}
