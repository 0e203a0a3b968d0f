// SPDX-License-Identifier: MIT
#pragma once

#include "FontFileTypes.h"

#include <QString>
#include <QStringList>

#include <vector>

// Kinds of folder-list items, by their order in the list.
namespace ItemKind {
constexpr int Parent = 3, Folder = 4, Archive = 5, FontFile = 6;
}

struct FolderEntry {
    QString caption;     // as shown: a byte that is not UTF-8 shows as U+FFFD
    QString extension;   // " " for the parent, folders and archives
    int image = 0;
    int kind = ItemKind::Folder;
    // The whole name on disk, each byte that is not UTF-8 kept as its escape (pathFromNative):
    // two names that show alike still name their own files. Every operation on the row uses it.
    QString fileName;
};


// Lists a folder as the folder view shows it: "..", folders, ZIP archives and the font files the
// filter admits, hidden entries included, sorted by kind. Within a kind the names keep one order
// on every file system (case-insensitive, as NTFS returns them). False when the folder cannot be
// read.
bool listFolderEntries(const QString &folder, int filter, std::vector<FolderEntry> &entries);

// "/a/b/../" gives "/a/"; "/a/../" gives "/".
QString ParentFolderOf(const QString &path);
