// SPDX-License-Identifier: MIT
#include "FontsRegistry.h"

#include "FontCatalogue.h"
#include "NativeFile.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

// File names may hold bytes that are not UTF-8 (kept as lone surrogates): every file is reached
// through its native name, never through Qt's file classes.
namespace {

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// The folder with every link resolved, or the folder as given when it cannot be resolved.
QString canonicalFolder(const QString &folder)
{
    char resolved[PATH_MAX];
    if (::realpath(nativePath(folder).constData(), resolved) == nullptr)
        return folder;
    QString out = pathFromNative(resolved);
    if (!out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out;
}

bool isRegularFile(const QString &path)
{
    struct stat info {};
    return ::stat(nativePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// The target of a symbolic link as an absolute path; nothing when the path is no link.
std::optional<QString> linkTarget(const QString &path)
{
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return std::nullopt;
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(native.constData(), target.data(), static_cast<size_t>(target.size()));
    if (n <= 0 || n >= target.size())
        return std::nullopt;
    target.truncate(n);
    QString out = pathFromNative(target);
    if (!out.startsWith(QLatin1Char('/')))
        out = folderOf(path) + out;
    return QDir::cleanPath(out);
}

bool exists(const QString &path)
{
    struct stat info {};
    return ::lstat(nativePath(path).constData(), &info) == 0;
}

}

FontsRegistry::FontsRegistry(FontCatalogue &catalogue, QString systemFontsFolder)
    : m_catalogue(catalogue)
    , m_folder(std::move(systemFontsFolder))
{
}

bool FontsRegistry::keyExists(const QString &path) const
{
    return path.compare(kKeyPath, Qt::CaseInsensitive) == 0;
}

bool FontsRegistry::inFontsFolder(const QString &file) const
{
    return inFolder(file, m_folder);
}

bool FontsRegistry::inFolder(const QString &file, const QString &fontsFolder)
{
    const QString folder = folderOf(file);
    return folder == fontsFolder || canonicalFolder(folder) == canonicalFolder(fontsFolder);
}

std::vector<FontsRegistry::Value> FontsRegistry::values()
{
    return valuesOf(m_catalogue.fonts(), m_folder);
}

std::vector<FontsRegistry::Value> FontsRegistry::valuesOf(const std::vector<CatalogueFont> &fonts, const QString &systemFontsFolder)
{
    std::vector<Value> out;
    QSet<QString> seenFiles;
    QHash<QString, bool> inFolder;
    for (const CatalogueFont &font : fonts) {
        if (font.temporary || !font.facts.valid || seenFiles.contains(font.file))
            continue;
        seenFiles.insert(font.file);
        const QString folder = folderOf(font.file);
        auto known = inFolder.constFind(folder);
        if (known == inFolder.cend())
            known = inFolder.insert(folder, FontsRegistry::inFolder(font.file, systemFontsFolder));
        QString data = font.file;
        if (*known)
            data = linkTarget(font.file).value_or(fileNameOf(font.file));
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

std::optional<QString> FontsRegistry::fileNamedBy(const QString &data) const
{
    if (data.isEmpty())
        return std::nullopt;
    if (!data.contains(QLatin1Char('/')))
        return m_folder + data;
    const QString target = QDir::cleanPath(data.startsWith(QLatin1Char('/')) ? data : QDir::currentPath() + QLatin1Char('/') + data);
    const QString link = m_folder + fileNameOf(target);
    if (linkTarget(link) != target)
        return std::nullopt;
    return link;
}

bool FontsRegistry::writeString(const QString &, const QString &data)
{
    if (data.isEmpty())
        return false;
    if (!data.contains(QLatin1Char('/'))) {
        if (!isRegularFile(m_folder + data))
            return false;
    } else {
        const QString target = QDir::cleanPath(data.startsWith(QLatin1Char('/')) ? data : QDir::currentPath() + QLatin1Char('/') + data);
        if (!isRegularFile(target))
            return false;
        QDir().mkpath(m_folder);
        const QString link = m_folder + fileNameOf(target);
        if (exists(link)) {
            if (linkTarget(link) != target)
                return false;
        } else if (::symlink(nativePath(target).constData(), nativePath(link).constData()) != 0) {
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
        if (!inFontsFolder(v.file))
            return false;
        const bool removed = ::unlink(nativePath(v.file).constData()) == 0;
        m_catalogue.rescan(m_folder);
        return removed;
    }
    return false;
}
