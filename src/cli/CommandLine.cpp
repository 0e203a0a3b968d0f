// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QCommandLineParser>

namespace {

struct Subcommand {
    const char *name;
    CommandLine::Kind kind;
};

constexpr Subcommand kSubcommands[] = {
    {"info", CommandLine::Kind::Info},
    {"list", CommandLine::Kind::List},
    {"install", CommandLine::Kind::Install},
    {"uninstall", CommandLine::Kind::Uninstall},
    {"zip-list", CommandLine::Kind::ZipList},
    {"zip-extract", CommandLine::Kind::ZipExtract},
};

CommandLine::Kind subcommandOf(const QString &word)
{
    for (const Subcommand &subcommand : kSubcommands)
        if (word == QLatin1String(subcommand.name))
            return subcommand.kind;
    return CommandLine::Kind::Window;
}

CommandLine badUsage(const QString &error)
{
    CommandLine line;
    line.kind = CommandLine::Kind::BadUsage;
    line.error = error;
    return line;
}

// Checks the subcommand's operands and which options it takes.
CommandLine subcommandLine(CommandLine line, const QString &name, QStringList operands, bool hasFolder, bool hasScreenshot)
{
    using Kind = CommandLine::Kind;
    const bool takesJson = line.kind == Kind::Info || line.kind == Kind::List || line.kind == Kind::ZipList;
    if (line.json && !takesJson)
        return badUsage(QStringLiteral("%1 does not take --json").arg(name));
    if (hasFolder && line.kind != Kind::ZipExtract)
        return badUsage(QStringLiteral("%1 does not take -d").arg(name));
    if (hasScreenshot)
        return badUsage(QStringLiteral("%1 does not take --screenshot").arg(name));
    switch (line.kind) {
    case Kind::List:
        if (!operands.isEmpty())
            return badUsage(QStringLiteral("list takes no operands"));
        break;
    case Kind::ZipList:
        if (operands.size() != 1)
            return badUsage(QStringLiteral("zip-list takes one archive"));
        line.archive = operands.takeFirst();
        break;
    case Kind::ZipExtract:
        if (operands.size() < 2)
            return badUsage(QStringLiteral("zip-extract takes an archive and at least one entry"));
        if (!hasFolder || line.folder.isEmpty())
            return badUsage(QStringLiteral("zip-extract needs -d DIR"));
        line.archive = operands.takeFirst();
        line.items = operands;
        break;
    default:
        if (operands.isEmpty())
            return badUsage(QStringLiteral("%1 needs at least one %2").arg(name, line.kind == Kind::Uninstall ? QStringLiteral("file or font name")
                                                                                                                : QStringLiteral("file")));
        line.items = operands;
        break;
    }
    return line;
}

}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption folder({QStringLiteral("d"), QStringLiteral("directory")}, QString(), QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption screenshotPage(QStringLiteral("screenshot-page"), QString(), QStringLiteral("N"));
    parser.addOptions({help, version, json, folder, screenshot, screenshotPage});
    if (!parser.parse(arguments))
        return badUsage(parser.errorText());

    CommandLine line;
    if (parser.isSet(help)) {
        line.kind = CommandLine::Kind::Help;
        return line;
    }
    if (parser.isSet(version)) {
        line.kind = CommandLine::Kind::Version;
        return line;
    }
    line.json = parser.isSet(json);
    line.folder = parser.value(folder);
    QStringList operands = parser.positionalArguments();
    line.kind = operands.isEmpty() ? CommandLine::Kind::Window : subcommandOf(operands.first());
    if (line.kind != CommandLine::Kind::Window) {
        const QString name = operands.takeFirst();
        return subcommandLine(line, name, operands, parser.isSet(folder), parser.isSet(screenshot));
    }
    if (line.json)
        return badUsage(QStringLiteral("--json belongs to info, list and zip-list"));
    if (parser.isSet(folder))
        return badUsage(QStringLiteral("-d belongs to zip-extract"));
    line.windowArguments = operands;
    line.screenshot = parser.value(screenshot);
    if (parser.isSet(screenshotPage)) {
        bool ok = false;
        line.screenshotPage = parser.value(screenshotPage).toInt(&ok);
        if (!ok || line.screenshotPage < 0 || line.screenshotPage > 3)
            return badUsage(QStringLiteral("--screenshot-page takes 0, 1, 2 or 3"));
    }
    return line;
}

QStringList withoutToolkitOptions(const QStringList &arguments)
{
    static const QStringList withValue{QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
                                       QStringLiteral("-plugin"), QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
                                       QStringLiteral("-qwindowtitle"), QStringLiteral("-display"), QStringLiteral("-geometry"),
                                       QStringLiteral("-style"), QStringLiteral("-stylesheet"), QStringLiteral("-session"),
                                       QStringLiteral("-qmljsdebugger")};
    static const QStringList alone{QStringLiteral("-reverse"), QStringLiteral("-widgetcount"), QStringLiteral("-nograb"),
                                   QStringLiteral("-dograb"), QStringLiteral("-sync")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--"))
            return kept + arguments.mid(i);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals > 0 ? argument.left(equals) : argument;
        if (i > 0 && (withValue.contains(name) || withValue.contains(name.mid(1)))) {
            if (equals < 0)
                ++i;   // its value
            continue;
        }
        if (i > 0 && (alone.contains(argument) || alone.contains(argument.mid(1))))
            continue;
        kept << argument;
    }
    return kept;
}

QString versionText()
{
    return QStringLiteral("Glyvanta 2.4\n");
}

QString usageText()
{
    return QStringLiteral(
        "Usage: glyvanta [FILE|FOLDER]... [install]\n"
        "       glyvanta info FILE... [--json]\n"
        "       glyvanta list [--json]\n"
        "       glyvanta install FILE...\n"
        "       glyvanta uninstall FILE-OR-NAME...\n"
        "       glyvanta zip-list ARCHIVE [--json]\n"
        "       glyvanta zip-extract ARCHIVE ENTRY... -d DIR\n"
        "\n"
        "Without a subcommand Glyvanta opens its window. A font file is previewed (its folder is\n"
        "listed with the file selected); a folder is listed; further files are listed in the\n"
        "message that names them. \"install\" after the file installs it after the preview.\n"
        "\n"
        "Subcommands (no window, no display needed):\n"
        "  info          names (every naming-table record), format, faces, metrics, charsets,\n"
        "                character count and coverage by Unicode block of each font file\n"
        "  list          the installed fonts: face, file, format, style, and whether you may\n"
        "                uninstall it (only fonts in your fonts folder)\n"
        "  install       copies each font file into your fonts folder and records it\n"
        "  uninstall     removes installed fonts, named by file (path or file name) or face\n"
        "  zip-list      the entries of a ZIP archive\n"
        "  zip-extract   extracts the named entries into DIR (never outside it, never\n"
        "                replacing a file)\n"
        "\n"
        "Options:\n"
        "  -h, --help              show this text\n"
        "  --version               show the version\n"
        "  --json                  print JSON (info, list, zip-list; fields in the help page)\n"
        "  -d, --directory DIR     the folder zip-extract writes into\n"
        "  --screenshot FILE       write a PNG of the window after start-up, then exit\n"
        "  --screenshot-page N     show view page 0, 1, 2 or 3 first\n"
        "\n"
        "Messages the window would show go to standard error as \"glyvanta: FILE: text\";\n"
        "questions are answered Yes, other prompts are cancelled.\n"
        "Exit status: 0 success, 1 an item failed, 2 bad usage.\n");
}
