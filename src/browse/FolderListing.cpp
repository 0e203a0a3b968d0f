// SPDX-License-Identifier: MIT
#include "FolderListing.h"

#include "NativeFile.h"
#include "NativePaths.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// The extension of a raw name, with its dot, or nothing.
const char *extensionOf(const char *name, size_t length)
{
    // As on the system the program was made for, ".fon" alone is a file with an empty name.
    return static_cast<const char *>(memrchr(name, '.', length));
}

// The caption of a file: its name without the extension, as text to show.
QString captionOf(const char *name, const char *ext)
{
    return displayPath(pathFromNative(QByteArrayView(name, static_cast<qsizetype>(ext - name))));
}

bool equalsLower(const char *text, const char *lower)
{
    for (; *text && *lower; ++text, ++lower)
        if ((*text >= 'A' && *text <= 'Z' ? *text + 32 : *text) != *lower)
            return false;
    return *text == 0 && *lower == 0;
}

// The extensions of the font files any filter may list.
bool isFontExtension(const char *ext)
{
    static const char *const kFontExtensions[] = {".ttf", ".001", ".fon", ".fnt", ".otf", ".ttc", ".otc", ".woff", ".woff2", ".pfb", ".pfa", ".t1"};
    return std::any_of(std::begin(kFontExtensions), std::end(kFontExtensions), [&](const char *known) { return equalsLower(ext, known); });
}

}

bool listFolderEntries(const QString &folder, int filter, std::vector<FolderEntry> &entries)
{
    entries.clear();
    const QByteArray path = nativePath(folder);
    if (path.isEmpty() || path.contains('\0'))
        return false;
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return false;
    const bool root = folder == QLatin1String("/");
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        const size_t length = std::strlen(name);
        if (std::strcmp(name, ".") == 0)
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            const QByteArray full = path + (path.endsWith('/') ? "" : "/") + name;
            isDir = ::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (isDir) {
            if (std::strcmp(name, "..") == 0) {
                // A root folder has no way up.
                if (!root)
                    entries.push_back({QStringLiteral(".."), QStringLiteral(" "), 1, ItemKind::Parent, QStringLiteral("..")});
                continue;
            }
            const QString folderName = pathFromNative(QByteArrayView(name, static_cast<qsizetype>(length)));
            entries.push_back({displayPath(folderName), QStringLiteral(" "), 0, ItemKind::Folder, folderName});
            continue;
        }
        // Most files are neither archives nor fonts; they are passed over on their raw bytes.
        const char *ext = extensionOf(name, length);
        if (!ext)
            continue;
        if (equalsLower(ext, ".zip")) {
            entries.push_back({captionOf(name, ext), QStringLiteral(" "), 4, ItemKind::Archive,
                               pathFromNative(QByteArrayView(name, static_cast<qsizetype>(length)))});
            continue;
        }
        if (!isFontExtension(ext))
            continue;
        const QString extension = QString::fromLatin1(ext);
        const int image = FileTypeImage(extension, filter);
        if (image < 1)
            continue;
        entries.push_back({captionOf(name, ext), extension, image, ItemKind::FontFile,
                           pathFromNative(QByteArrayView(name, static_cast<qsizetype>(length)))});
    }
    ::closedir(dir);
    std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry &a, const FolderEntry &b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        const int byName = a.caption.compare(b.caption, Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        // Names that differ only in case keep one order too.
        return a.fileName < b.fileName;
    });
    return true;
}

QString ParentFolderOf(const QString &path)
{
    QString p = path;
    if (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    // Drop the "/.." and, with it, the last component before it.
    if (p.endsWith(QLatin1String("/..")))
        p.chop(3);
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return QStringLiteral("/");
    return p.left(slash + 1);
}
