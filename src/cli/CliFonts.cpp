// SPDX-License-Identifier: MIT
#include "CliFonts.h"

#include "CommandLine.h"
#include "ConsolePrompter.h"
#include "FontFileTypes.h"
#include "FontPlacement.h"
#include "FontRecording.h"
#include "InstalledFonts.h"
#include "NameTableReader.h"
#include "NativeFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <sys/stat.h>

namespace {
// The extension filter the window starts with: "Font files (*.ttf;*.fon)".
constexpr int kAllFontFilesFilter = 2;

QString absolutePath(const QString &path)
{
    // QFileInfo would spoil a name that is not UTF-8; only a relative name needs the folder.
    return path.startsWith(QLatin1Char('/')) ? path : QDir::currentPath() + QLatin1Char('/') + path;
}
}

QJsonObject listedFontJson(const ListedFont &font)
{
    return QJsonObject{{QStringLiteral("face"), font.face},
                       {QStringLiteral("format"), font.format},
                       {QStringLiteral("style"), font.style},
                       {QStringLiteral("file"), font.fileCell},
                       {QStringLiteral("path"), font.path.isEmpty() ? QJsonValue() : QJsonValue(font.path)},
                       {QStringLiteral("userMayUninstall"), font.userMayUninstall}};
}

CliFonts::CliFonts(const Paths &paths, ConsolePrompter &prompter)
    : m_paths(paths)
    , m_prompter(prompter)
    , m_catalogue(paths.cacheFolder)
    , m_fontsKey(m_catalogue, paths.systemFontsFolder)
{
}

std::vector<ListedFont> CliFonts::installedFonts()
{
    QStringList installedFontFiles;
    if (m_fontsKey.keyExists(FontsRegistry::kKeyPath))
        for (const FontsRegistry::Value &value : m_fontsKey.values())
            installedFontFiles << joinInstalledFontFile(splitFontsValue(value.name, value.data));
    std::vector<ListedFont> fonts;
    for (const InstalledFontRow &row : buildInstalledFontRows(m_catalogue.enumerate(EnumCharset::Default), installedFontFiles)) {
        ListedFont font;
        font.face = row.caption;
        font.format = row.subItems.value(FontsListColumn::Type);
        font.style = row.subItems.value(FontsListColumn::Style);
        font.fileCell = row.subItems.value(FontsListColumn::FileName);
        if (font.fileCell != QLatin1String("Unknown"))
            font.path = font.fileCell.startsWith(QLatin1Char('/')) ? font.fileCell : m_paths.systemFontsFolder + font.fileCell;
        font.userMayUninstall = !font.path.isEmpty() && m_fontsKey.fileNamedBy(font.fileCell).has_value();
        fonts.push_back(font);
    }
    return fonts;
}

int CliFonts::list(QTextStream &out, bool json)
{
    const std::vector<ListedFont> fonts = installedFonts();
    if (json) {
        QJsonArray array;
        for (const ListedFont &font : fonts)
            array.append(listedFontJson(font));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return ExitStatus::Success;
    }
    for (const ListedFont &font : fonts)
        out << font.face << '\t' << font.format << '\t' << font.style << '\t' << (font.path.isEmpty() ? font.fileCell : font.path) << '\t'
            << (font.userMayUninstall ? "user" : "system") << '\n';
    return ExitStatus::Success;
}

int CliFonts::install(const QStringList &files, QTextStream &)
{
    int status = ExitStatus::Success;
    for (const QString &file : files)
        if (!installOne(absolutePath(file)))
            status = ExitStatus::ItemFailed;
    return status;
}

bool CliFonts::installOne(const QString &file)
{
    m_prompter.setSubject(file);
    if (!fontFileExists(file)) {
        struct stat status;
        m_prompter.print(::stat(nativePath(file).constData(), &status) == 0 ? QStringLiteral("a folder is not a font file")
                                                                            : QStringLiteral("no such file"));
        return false;
    }
    // The face the window would show the file in: the full name of a TrueType file's naming
    // table, else the name the font catalogue reads.
    QString face;
    if (fileExtension(file).toLower() == QLatin1String(".ttf"))
        face = readFontFileNames(file)[4];
    if (face.isEmpty()) {
        const FontFacts facts = FontCatalogue::readFacts(file, 0);
        face = fileExtension(file).toLower() == QLatin1String(".ttf") ? facts.fullName : facts.family;
    }
    // As the install dialog starts: a copy into the fonts folder that replaces nothing.
    const InstallChoice choice{file, 1, false};
    const int result = recordFontInstall(m_fontsKey, FontsRegistry::kKeyPath, m_paths.systemFontsFolder, face, kAllFontFilesFilter, choice, true);
    if (result == ModalResult::Ok) {
        m_prompter.message(QStringLiteral("The font have been installed succesfully. It will be allowed in system after restarting."),
                           MessageIcon::Information);
        return true;
    }
    m_prompter.message(QStringLiteral("Unable to install the font."), MessageIcon::Error);
    return false;
}

int CliFonts::uninstall(const QStringList &filesOrNames, QTextStream &out)
{
    int status = ExitStatus::Success;
    for (const QString &item : filesOrNames)
        if (!uninstallOne(item, out))
            status = ExitStatus::ItemFailed;
    return status;
}

bool CliFonts::uninstallOne(const QString &fileOrName, QTextStream &out)
{
    m_prompter.setSubject(fileOrName);
    const QString asPath = absolutePath(fileOrName);
    std::vector<ListedFont> matches;
    for (const ListedFont &font : installedFonts()) {
        const bool named = font.face == fileOrName || font.fileCell == fileOrName
                        || (!font.path.isEmpty() && (font.path == asPath || font.path.section(QLatin1Char('/'), -1) == fileOrName));
        // One value per file: a file listed under several faces is uninstalled once.
        if (named && std::none_of(matches.begin(), matches.end(), [&](const ListedFont &m) { return m.fileCell == font.fileCell; }))
            matches.push_back(font);
    }
    if (matches.empty()) {
        m_prompter.print(QStringLiteral("no installed font has this name or file"));
        return false;
    }
    bool allGone = true;
    for (const ListedFont &font : matches) {
        if (!font.userMayUninstall) {
            m_prompter.print(QStringLiteral("%1 is not in your fonts folder (%2); only fonts installed for you can be uninstalled")
                                 .arg(font.path.isEmpty() ? font.face : font.path, m_paths.systemFontsFolder));
            allGone = false;
            continue;
        }
        const UninstallOutcome outcome
            = uninstallFont(m_prompter, m_catalogue, m_fontsKey, FontsRegistry::kKeyPath, {font.face, font.format, font.fileCell}, {});
        if (outcome.result == UninstallOutcome::Removed && outcome.fileRemoved) {
            out << "Uninstalled " << font.face << " (" << font.path << ")\n";
        } else {
            if (outcome.result != UninstallOutcome::Removed)
                m_prompter.print(QStringLiteral("the Fonts value of %1 could not be deleted").arg(font.face));
            allGone = false;
        }
    }
    return allGone;
}
