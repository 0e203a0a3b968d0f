// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"
#include "FontsRegistry.h"
#include "Paths.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

class ConsolePrompter;
class QTextStream;

// One row of the installed-fonts list as `glyvanta list` shows it.
struct ListedFont {
    QString face;       // the row's caption
    QString format;     // the "Type" cell: "TrueType", "VGA res", or fontconfig's format
    QString style;      // the "Style" cell
    QString fileCell;   // the "File Name" cell: the Fonts value's data, or "Unknown"
    QString path;       // the file's full path; empty when unknown
    bool userMayUninstall = false;   // the file (or the link to it) lies in the user's fonts folder
};

QJsonObject listedFontJson(const ListedFont &font);

// The installed fonts, install and uninstall, as the window's Fonts view and install command
// have them, printed instead of shown.
class CliFonts {
public:
    CliFonts(const Paths &paths, ConsolePrompter &prompter);

    std::vector<ListedFont> installedFonts();
    int list(QTextStream &out, bool json);
    int install(const QStringList &files, QTextStream &out);
    int uninstall(const QStringList &filesOrNames, QTextStream &out);

private:
    bool installOne(const QString &file);
    bool uninstallOne(const QString &fileOrName, QTextStream &out);

    Paths m_paths;
    ConsolePrompter &m_prompter;
    FontCatalogue m_catalogue;
    FontsRegistry m_fontsKey;
};
