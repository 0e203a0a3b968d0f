// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The program's command line: the window's own arguments (FILE... [install], --screenshot) or
// one of the subcommands that print instead of showing a window.
struct CommandLine {
    enum class Kind { Window, Help, Version, Info, List, Install, Uninstall, ZipList, ZipExtract, BadUsage };
    Kind kind = Kind::Window;
    QStringList items;            // files, fonts or archive entries the subcommand works on
    QString archive;              // zip-list and zip-extract
    QString folder;               // zip-extract's -d
    bool json = false;
    QStringList windowArguments;  // FILE... [install]
    QString screenshot;
    int screenshotPage = -1;
    QString error;                // what is wrong with a bad command line
};

// Exit statuses of the command line.
namespace ExitStatus {
constexpr int Success = 0, ItemFailed = 1, BadUsage = 2;
}

// The arguments as the program got them, the program's name first.
CommandLine parseCommandLine(const QStringList &arguments);
// The arguments without the options that Qt's GUI application takes for itself (-platform NAME,
// -style NAME, -reverse, ...), which the window's application removes before the program
// parses its own.
QStringList withoutToolkitOptions(const QStringList &arguments);

QString usageText();
QString versionText();
