// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"
#include "FontFileTypes.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One entry of InstalledFontFiles: face, type and file, from one value of the Fonts key.
struct InstalledFontFile {
    QString face;
    QString type;
    QString file;
};

// "Arial Bold (TrueType)" gives face "Arial Bold" and type "TrueType"; a name without "("
// is the whole face with type "Raster".
InstalledFontFile splitFontsValue(const QString &valueName, const QString &data);
// The entry as InstalledFontFiles keeps it: the three fields joined by line feeds.
QString joinInstalledFontFile(const InstalledFontFile &entry);
// The first entry whose face equals the given face exactly.
bool FindInstalledFontFile(const QStringList &installedFontFiles, const QString &face, QString *type, QString *file);

// InstalledFontFiles indexed once, so that each face is looked up in constant time: by face (the
// first entry of each face, as FindInstalledFontFile finds it), and by the file fontconfig knows
// behind each entry, for a face whose value name is not its face name ("Nimbus Sans Regular").
class InstalledFontIndex {
public:
    InstalledFontIndex() = default;
    // entryFiles, when given, holds the file behind each entry, in the same order.
    explicit InstalledFontIndex(const QStringList &installedFontFiles, const QStringList &entryFiles = {});
    const InstalledFontFile *byFace(const QString &face) const;
    const InstalledFontFile *byFile(const QString &file) const;

private:
    std::vector<InstalledFontFile> m_entries;
    QHash<QString, qsizetype> m_byFace;
    QHash<QString, qsizetype> m_byFile;
};

// The columns of the installed-fonts list.
struct InstalledFontColumn {
    const char *header;
    int width;
    int maxWidth;
};
extern const InstalledFontColumn kInstalledFontColumns[13];

namespace FontsListColumn {
// Sub-item positions (the caption is not counted).
constexpr int Type = 0, Charset = 1, Characters = 2, Width = 3, Height = 4, Weight = 5, Style = 6,
              Pitch = 7, Family = 8, FileName = 9, DosExt = 10, Charsets = 11;
}

struct InstalledFontRow {
    QString caption;
    QStringList subItems;   // twelve, in column order
    int image = 2;          // 2 TrueType, 3 raster
};

QString pitchText(int pitchAndFamily);
QString familyText(int pitchAndFamily);

// The rows of the installed-fonts list from the enumerated faces (DEFAULT_CHARSET order):
// one row per run of the same face, its charsets gathered in "Charsets"; sorted by caption
// with the locale's comparison once at the end.
// A face whose value is not found takes the value of its file; a face whose file has no value
// either shows the file itself and its format.
std::vector<InstalledFontRow> buildInstalledFontRows(const std::vector<EnumeratedFace> &faces, const QStringList &installedFontFiles);
std::vector<InstalledFontRow> buildInstalledFontRows(const std::vector<EnumeratedFace> &faces, const InstalledFontIndex &index);
// The two steps of the above: the rows in the enumeration's order, then their sort, so that a
// caller can let go of the faces and the index before the sort's own keys are made.
std::vector<InstalledFontRow> unsortedInstalledFontRows(const std::vector<EnumeratedFace> &faces, const InstalledFontIndex &index);
void sortInstalledFontRows(std::vector<InstalledFontRow> &rows);
// The face names of an ANSI_CHARSET enumeration, consecutive repeats dropped, order kept.
QStringList faceNamesOf(const std::vector<EnumeratedFace> &faces);
