// SPDX-License-Identifier: MIT
#include "FontLoader.h"

#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "InstalledFontsList.h"
#include "NameTableReader.h"
#include "Prompter.h"

QString NewFaceName(const QStringList &before, const QStringList &after)
{
    const qsizetype n = std::min(before.size(), after.size());
    for (qsizetype i = 0; i < n; ++i)
        if (before[i] != after[i])
            return after[i];
    if (before.size() > n)
        return before[n];
    if (after.size() > n)
        return after[n];
    return {};
}

FontLoader::FontLoader(Prompter &prompter, FontCatalogue &catalogue, InstalledFontsList &installed)
    : m_prompter(prompter)
    , m_catalogue(catalogue)
    , m_installed(installed)
{
}

QString fontFileRefusalText(const QString &path, FileRefusal why)
{
    switch (why) {
    case FileRefusal::NotRegular:
        return QStringLiteral("Cannot load %1: it is not a regular file.").arg(path);
    case FileRefusal::TooLarge:
        return QStringLiteral("Cannot load %1: the file is larger than %2 MB.").arg(path).arg(FontCatalogue::kFontFileLimit / (1024 * 1024));
    case FileRefusal::Unreadable:
        return QStringLiteral("Cannot load %1: the file cannot be read.").arg(path);
    case FileRefusal::None:
    case FileRefusal::Missing:
        break;
    }
    return {};
}

bool FontLoader::refused(const QString &path, FileRefusal why)
{
    // A file that is not there fails as the system's own add would, without a word; a special or
    // oversized file is named, so the user knows why nothing changed.
    const QString text = fontFileRefusalText(path, why);
    if (text.isEmpty())
        return false;
    m_prompter.message(text, MessageIcon::Error);
    return true;
}

int FontLoader::LoadFontFile(const QString &path)
{
    LoadedFont font;
    font.path = path;
    font.fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    FileRefusal why = FileRefusal::None;
    if (fileExtension(font.fileName).toLower() == QLatin1String(".ttf")) {
        font.trueType = true;
        font.face = ReadTrueTypeNames(CurrentFont, path, &why).value_or(QString());
        CurrentFont.FontFilePath = path;
        if (refused(path, why))
            return 2;
        if (m_catalogue.addTemporary(path, &why) == 0) {
            refused(path, why);
            return 2;
        }
        // The loaded face itself tells its last character and charset.
        const FontFacts *facts = m_catalogue.temporaryFacts(path);
        font.lastChar = facts ? facts->lastChar : 255;
        font.charset = facts && !facts->charsets.empty() ? facts->charsets.front() : 0;
        // Installed: this file, or a copy of it, is among the faces fontconfig serves (a face
        // name alone would call a previewed font or another font of that name installed).
        font.installed = m_catalogue.isInstalledFile(path);
    } else {
        QStringList before, after;
        m_installed.EnumerateFaceNames(before);
        CurrentFont.FontFilePath = path;
        if (m_catalogue.addTemporary(path, &why) == 0) {
            refused(path, why);
            return 2;
        }
        m_installed.EnumerateFaceNames(after);
        font.face = NewFaceName(before, after);
        // Already known to the system: found by its file in the installed-fonts list.
        if (font.face.isEmpty())
            font.face = m_installed.faceOfFile(font.fileName);
    }
    m_loaded = font;
    return 0;
}
