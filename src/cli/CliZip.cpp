// SPDX-License-Identifier: MIT
#include "CliZip.h"

#include "CommandLine.h"
#include "ConsolePrompter.h"
#include "EntryPath.h"
#include "NativeFile.h"
#include "Paths.h"
#include "TZipKit.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <sys/stat.h>

namespace {

QString modified(const ZipDirEntry &entry)
{
    const QDate date((entry.ModDate >> 9) + 1980, (entry.ModDate >> 5) & 15, entry.ModDate & 31);
    const QTime time(entry.ModTime >> 11, (entry.ModTime >> 5) & 63, (entry.ModTime & 31) * 2);
    if (!date.isValid() || !time.isValid())
        return QString();
    return QDateTime(date, time).toString(Qt::ISODate);
}

QString entryName(const ZipDirEntry &entry)
{
    return TZipKit::SetSlash(entry.FileName, true);
}

bool exists(const QString &path)
{
    struct stat status;
    return ::lstat(nativePath(path).constData(), &status) == 0;
}

// The component, its boxes printed, its password prompt refused: a script is never asked.
struct CliZipKit {
    explicit CliZipKit(ConsolePrompter &prompter)
        : kit(prompter)
    {
        kit.OnPasswordError = [&prompter](bool, QString &answer, const QString &forFile, unsigned &repeat, int &action) {
            prompter.print(forFile + QStringLiteral(": the entry is encrypted; the command line asks for no password"));
            answer.clear();
            repeat = 0;
            action = 2;
        };
    }
    // Reads the archive's directory; false, with the reason printed, when it cannot be read.
    bool open(const QString &archive, ConsolePrompter &prompter)
    {
        prompter.setSubject(archive);
        RegularFile file(archive);
        if (!file.isOpen()) {
            prompter.print(file.refusal() == FileRefusal::NotRegular ? QStringLiteral("not a regular file") : QStringLiteral("no such file"));
            return false;
        }
        const int shown = kit.ShownMessageCount;
        kit.SetFileName(archive);
        return kit.ErrCode == 0 && kit.ShownMessageCount == shown;
    }
    TZipKit kit;
};

}

QJsonObject zipEntryJson(const ZipDirEntry &entry)
{
    return QJsonObject{{QStringLiteral("name"), entryName(entry)},
                       {QStringLiteral("size"), double(entry.UncompressedSize)},
                       {QStringLiteral("compressedSize"), double(entry.CompressedSize)},
                       {QStringLiteral("method"), entry.CompressionMethod},
                       {QStringLiteral("crc32"), QStringLiteral("%1").arg(entry.Crc32, 8, 16, QLatin1Char('0'))},
                       {QStringLiteral("modified"), modified(entry)},
                       {QStringLiteral("encrypted"), entry.Encrypted}};
}

int zipList(const QString &archive, bool json, QTextStream &out, ConsolePrompter &prompter)
{
    CliZipKit zip(prompter);
    if (!zip.open(archive, prompter))
        return ExitStatus::ItemFailed;
    if (json) {
        QJsonArray entries;
        for (const ZipDirEntry &entry : zip.kit.DirEntries)
            entries.append(zipEntryJson(entry));
        const QJsonObject document{{QStringLiteral("archive"), archive},
                                   {QStringLiteral("comment"), zip.kit.ZipComment()},
                                   {QStringLiteral("entries"), entries}};
        out << QJsonDocument(document).toJson(QJsonDocument::Indented);
        return ExitStatus::Success;
    }
    for (const ZipDirEntry &entry : zip.kit.DirEntries)
        out << entry.UncompressedSize << '\t' << entry.CompressedSize << '\t' << modified(entry) << '\t' << entryName(entry) << '\n';
    return ExitStatus::Success;
}

int zipExtract(const QString &archive, const QStringList &entries, const QString &folder, QTextStream &out, ConsolePrompter &prompter)
{
    CliZipKit zip(prompter);
    if (!zip.open(archive, prompter))
        return ExitStatus::ItemFailed;
    const QString base = withTrailingSlash(folder.startsWith(QLatin1Char('/')) ? folder : QDir::currentPath() + QLatin1Char('/') + folder);
    if (!QDir().mkpath(base)) {
        prompter.setSubject(folder);
        prompter.print(QStringLiteral("the folder cannot be created"));
        return ExitStatus::ItemFailed;
    }
    int status = ExitStatus::Success;
    struct Wanted {
        QString name;
        QString target;
    };
    std::vector<Wanted> wanted;
    for (const QString &name : entries) {
        prompter.setSubject(archive);
        const auto &all = zip.kit.DirEntries;
        const auto found = std::find_if(all.begin(), all.end(), [&](const ZipDirEntry &entry) { return entryName(entry) == name; });
        if (found == all.end()) {
            prompter.print(QStringLiteral("no entry named %1").arg(name));
            status = ExitStatus::ItemFailed;
            continue;
        }
        const QString target = zipEntryPath(base, found->FileName, true);
        if (target.isEmpty()) {
            prompter.print(QStringLiteral("%1 would land outside %2; not extracted").arg(name, base));
            status = ExitStatus::ItemFailed;
            continue;
        }
        if (exists(target)) {
            prompter.setSubject(target);
            prompter.print(QStringLiteral("already exists; not replaced"));
            status = ExitStatus::ItemFailed;
            continue;
        }
        zip.kit.FSpecEntries.append(int(found - all.begin()));
        wanted.push_back({name, target});
    }
    if (wanted.empty())
        return status;
    zip.kit.ExtrBaseDir = base;
    zip.kit.ExtrOptions = TZipKit::ExtrDirNames;
    prompter.setSubject(archive);
    zip.kit.Extract();
    for (const Wanted &entry : wanted) {
        if (RegularFile(entry.target).isOpen()) {
            out << entry.target << '\n';
            continue;
        }
        prompter.setSubject(archive);
        prompter.print(QStringLiteral("%1 could not be extracted%2")
                           .arg(entry.name, zip.kit.LastMessage.isEmpty() ? QString() : QStringLiteral(": ") + zip.kit.LastMessage));
        status = ExitStatus::ItemFailed;
    }
    return status;
}
