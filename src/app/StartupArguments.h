// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What the window does with its command-line arguments: FILE [install], or a folder, or several
// files. Decided without a window, so that tests reach it directly.
struct StartupPlan {
    enum class Kind { Nothing, FontFile, Folder, Archive, Refused };
    Kind kind = Kind::Nothing;
    QString path;          // absolute; a folder ends in "/"
    bool install = false;  // the word "install" followed the file
    QStringList others;    // further files, not opened
    QString message;       // why the argument was refused, or which files were not opened
};

// The first argument is a font file, a folder, a ZIP archive (by its name), or refused with a message (missing, not a regular
// file, not a font); "install" as the second argument installs the file, another second word
// that names no file is ignored, and further files that exist are named in a message.
StartupPlan planStartup(const QStringList &arguments, const QString &currentFolder);

// The message naming the files that were given but not opened.
QString otherFilesMessage(const QString &shown, const QStringList &others);
