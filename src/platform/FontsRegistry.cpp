// SPDX-License-Identifier: MIT
#include "FontsRegistry.h"

#include "FontCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

FontsRegistry::FontsRegistry(FontCatalogue &catalogue, QString systemFontsFolder)
    : m_catalogue(catalogue)
    , m_folder(std::move(systemFontsFolder))
{
}

bool FontsRegistry::keyExists(const QString &path) const
{
    return path.compare(kKeyPath, Qt::CaseInsensitive) == 0;
}

std::vector<FontsRegistry::Value> FontsRegistry::values()
{
    std::vector<Value> out;
    QSet<QString> seenFiles;
    for (const CatalogueFont &font : m_catalogue.fonts()) {
        if (font.temporary || !font.facts.valid || seenFiles.contains(font.file))
            continue;
        seenFiles.insert(font.file);
        const QFileInfo info(font.file);
        QString data = font.file;
        if (QDir(info.absolutePath()) == QDir(m_folder))
            data = info.isSymLink() ? info.symLinkTarget() : info.fileName();
        out.push_back({font.facts.fullName + QStringLiteral(" (") + fontsKeySuffixFor(font) + QLatin1Char(')'), data, font.file});
    }
    return out;
}

std::optional<QString> FontsRegistry::readString(const QString &name)
{
    for (const Value &v : values())
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return v.data;
    return std::nullopt;
}

bool FontsRegistry::writeString(const QString &, const QString &data)
{
    if (data.isEmpty())
        return false;
    if (!data.contains(QLatin1Char('/'))) {
        if (!QFileInfo(m_folder + data).isFile())
            return false;
    } else {
        const QFileInfo target(data);
        if (!target.isFile())
            return false;
        QDir().mkpath(m_folder);
        const QString link = m_folder + target.fileName();
        const QFileInfo existing(link);
        if (existing.isSymLink() || existing.exists()) {
            if (!(existing.isSymLink() && existing.symLinkTarget() == target.absoluteFilePath()))
                return false;
        } else if (!QFile::link(target.absoluteFilePath(), link)) {
            return false;
        }
    }
    m_catalogue.rescan(m_folder);
    return true;
}

bool FontsRegistry::deleteValue(const QString &name)
{
    for (const Value &v : values()) {
        if (v.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QFileInfo info(v.file);
        if (QDir(info.absolutePath()) != QDir(m_folder))
            return false;
        const bool removed = QFile::remove(v.file);
        m_catalogue.rescan(m_folder);
        return removed;
    }
    return false;
}
