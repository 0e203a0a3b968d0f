// SPDX-License-Identifier: MIT
#include "FontLoader.h"

#include "FontCatalogue.h"
#include "FontFileTypes.h"
#include "InstalledFontsList.h"
#include "NameTableReader.h"
#include "Prompter.h"
#include "WebFont.h"

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

QString notAFontText(const QString &path)
{
    return QStringLiteral("Cannot load %1: it is not a font that can be shown, or it is damaged.").arg(path);
}

QString noSuchFaceText(const QString &path, int faceIndex, int faceCount)
{
    return QStringLiteral("Cannot load face %1 of %2: the file has %3 faces.").arg(faceIndex + 1).arg(path).arg(faceCount);
}

bool FontLoader::readNames(LoadedFont &font, FontFileKind kind)
{
    const QString &path = font.path;
    FileRefusal why = FileRefusal::None;
    if (kind != FontFileKind::WebFont) {
        font.face = ReadTrueTypeNames(CurrentFont, path, &why, font.faceIndex, &font.faceCount).value_or(QString());
        CurrentFont.FontFilePath = path;
        return !refused(path, why);
    }
    // A web font's names lie in the sfnt it holds: it is unpacked in memory and read there.
    CurrentFont.FontNames.fill(QString());
    CurrentFont.FontFilePath = path;
    RegularFile file(path);
    const std::optional<QByteArray> content = file.readAll(FontCatalogue::kFontFileLimit);
    if (!content)
        return !refused(path, file.refusal());
    const std::optional<QByteArray> sfnt = decodeWebFont(*content, FontCatalogue::kFontFileLimit);
    if (!sfnt) {
        m_prompter.message(notAFontText(path), MessageIcon::Error);
        return false;
    }
    const NameReadResult names = readNameTable(std::span(reinterpret_cast<const std::uint8_t *>(sfnt->constData()), static_cast<std::size_t>(sfnt->size())),
                                               font.faceIndex);
    CurrentFont.FontNames = names.names;
    font.faceCount = names.faceCount;
    font.face = names.names[4];
    // Added from these bytes: the file is unpacked once.
    font.unpacked = *sfnt;
    return true;
}

bool FontLoader::addFont(const QString &path, const QByteArray &unpacked)
{
    FileRefusal why = FileRefusal::None;
    if ((unpacked.isEmpty() ? m_catalogue.addTemporary(path, &why) : m_catalogue.addTemporary(path, unpacked)) > 0)
        return true;
    // A file that is there but holds nothing FreeType reads as a font is told too: the previews
    // would otherwise go on showing the last font as if it were this one.
    if (!refused(path, why) && why == FileRefusal::None)
        m_prompter.message(notAFontText(path), MessageIcon::Error);
    return false;
}

QString FontLoader::facelessName(const LoadedFont &font)
{
    // Named from the file's own facts, by lookups: the installed collection is never walked.
    const FontFacts *facts = m_catalogue.temporaryFacts(font.path);
    if (!facts)
        return {};
    // A family the system does not have is the face this file adds.
    if (!m_catalogue.isInstalledFamily(facts->family))
        return facts->family;
    // Already known to the system: found by its file in the installed-fonts list.
    if (const QString listed = m_installed.faceOfFile(font.fileName); !listed.isEmpty())
        return listed;
    // Known under a family the system has already (another size of a raster font, a style of an
    // installed family), but listed under another file: named as FreeType reads it.
    return facts->raster ? facts->family : facts->fullName;
}

int FontLoader::LoadFontFile(const QString &path, int faceIndex)
{
    LoadedFont font;
    font.path = path;
    font.fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    font.faceIndex = faceIndex;
    const FontFileKind kind = fontFileKind(fileExtension(font.fileName));
    if (hasNamingTable(kind)) {
        font.trueType = true;
        if (!readNames(font, kind))
            return 2;
        if (faceIndex < 0 || faceIndex >= font.faceCount) {
            m_prompter.message(noSuchFaceText(path, faceIndex, font.faceCount), MessageIcon::Error);
            return 2;
        }
        if (!addFont(path, font.unpacked))
            return 2;
        font.unpacked.clear();
        // The loaded face itself tells its last character and charset.
        const FontFacts *facts = m_catalogue.temporaryFacts(path, faceIndex);
        if (!facts) {
            m_prompter.message(notAFontText(path), MessageIcon::Error);
            return 2;
        }
        // The full name the table gives last may be one no face answers to (a translation, a
        // PostScript-style name): the face is then named as FreeType reads it, so that the views
        // draw this font and not a stand-in. A face without a full name is named so too.
        if (font.face.compare(facts->fullName, Qt::CaseInsensitive) != 0 && font.face.compare(facts->family, Qt::CaseInsensitive) != 0)
            font.face = facts->fullName;
        font.lastChar = facts->lastChar;
        font.charset = facts->charsets.empty() ? 0 : facts->charsets.front();
        // Installed: this file, or a copy of it, is among the faces fontconfig serves (a face
        // name alone would call a previewed font or another font of that name installed).
        font.installed = m_catalogue.isInstalledFile(path);
    } else {
        CurrentFont.FontFilePath = path;
        if (!addFont(path))
            return 2;
        font.face = facelessName(font);
    }
    m_loaded = font;
    return 0;
}
