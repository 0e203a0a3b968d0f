// SPDX-License-Identifier: MIT
#include "CliCommands.h"

#include "CliFonts.h"
#include "CliZip.h"
#include "ConsolePrompter.h"
#include "FontInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace {

int runInfo(const CommandLine &line, QTextStream &out, ConsolePrompter &prompter)
{
    int status = ExitStatus::Success;
    QJsonArray files;
    QStringList texts;
    for (const QString &file : line.items) {
        QString error;
        const std::optional<FontFileInfo> info = readFontFileInfo(file, &error);
        if (!info) {
            prompter.setSubject(file);
            prompter.print(error);
            status = ExitStatus::ItemFailed;
            continue;
        }
        if (line.json)
            files.append(fontFileInfoJson(*info));
        else
            texts << fontFileInfoText(*info);
    }
    if (line.json)
        out << QJsonDocument(files).toJson(QJsonDocument::Indented);
    else
        out << texts.join(QLatin1Char('\n'));
    return status;
}

}

int runCommandLine(const CommandLine &line, const Paths &paths, QTextStream &out, QTextStream &err)
{
    ConsolePrompter prompter(err);
    int status = ExitStatus::Success;
    switch (line.kind) {
    case CommandLine::Kind::Help:
        out << usageText();
        break;
    case CommandLine::Kind::Version:
        out << versionText();
        break;
    case CommandLine::Kind::BadUsage:
        err << "glyvanta: " << line.error << "\nTry 'glyvanta --help'.\n";
        status = ExitStatus::BadUsage;
        break;
    case CommandLine::Kind::Info:
        status = runInfo(line, out, prompter);
        break;
    case CommandLine::Kind::List:
    case CommandLine::Kind::Install:
    case CommandLine::Kind::Uninstall: {
        CliFonts fonts(paths, prompter);
        status = line.kind == CommandLine::Kind::List ? fonts.list(out, line.json)
               : line.kind == CommandLine::Kind::Install ? fonts.install(line.items, out)
                                                          : fonts.uninstall(line.items, out);
        break;
    }
    case CommandLine::Kind::ZipList:
        status = zipList(line.archive, line.json, out, prompter);
        break;
    case CommandLine::Kind::ZipExtract:
        status = zipExtract(line.archive, line.items, line.folder, out, prompter);
        break;
    case CommandLine::Kind::Window:
        status = ExitStatus::BadUsage;
        break;
    }
    out.flush();
    err.flush();
    return status;
}
