// SPDX-License-Identifier: MIT
#include "InstalledFonts.h"

#include "CharsetTable.h"
#include "LocaleCompare.h"

#include <QSet>

#include <algorithm>
#include <numeric>

const InstalledFontColumn kInstalledFontColumns[13] = {
    {"Name", 185, 200}, {"Type", 62, 0}, {"Charset", 62, 0}, {"Characters", 62, 0}, {"Width", 62, 0},
    {"Height", 62, 0}, {"Weight", 62, 0}, {"Style", 62, 0}, {"Type", 92, 100}, {"Pitch", 62, 100},
    {"File Name", 62, 0}, {"DOS ext.", 62, 0}, {"Charsets", 0, 0},
};

InstalledFontFile splitFontsValue(const QString &valueName, const QString &data)
{
    const qsizetype open = valueName.indexOf(QLatin1Char('('));
    if (open < 0)
        return {valueName, QStringLiteral("Raster"), data};
    // The type runs up to, not including, the name's last character (the closing parenthesis).
    return {valueName.left(open).trimmed(), valueName.mid(open + 1, valueName.size() - open - 2).trimmed(), data};
}

QString joinInstalledFontFile(const InstalledFontFile &entry)
{
    return entry.face + QLatin1Char('\n') + entry.type + QLatin1Char('\n') + entry.file;
}

bool FindInstalledFontFile(const QStringList &installedFontFiles, const QString &face, QString *type, QString *file)
{
    for (const QString &entry : installedFontFiles) {
        const QStringList parts = entry.split(QLatin1Char('\n'));
        if (parts.size() < 3 || parts[0] != face)
            continue;
        if (type)
            *type = parts[1];
        if (file)
            *file = parts.mid(2).join(QLatin1Char('\n'));
        return true;
    }
    return false;
}

InstalledFontIndex::InstalledFontIndex(const QStringList &installedFontFiles, const QStringList &entryFiles)
{
    m_entries.reserve(static_cast<size_t>(installedFontFiles.size()));
    m_byFace.reserve(installedFontFiles.size());
    QString lastType;
    for (qsizetype i = 0; i < installedFontFiles.size(); ++i) {
        const QString &entry = installedFontFiles[i];
        // Face and type hold no line feed; the file is the rest, as FindInstalledFontFile reads it.
        const qsizetype first = entry.indexOf(QLatin1Char('\n'));
        const qsizetype second = first < 0 ? -1 : entry.indexOf(QLatin1Char('\n'), first + 1);
        if (second < 0)
            continue;
        const qsizetype at = static_cast<qsizetype>(m_entries.size());
        // The type repeats from entry to entry and the file is mostly the entry's own path: both
        // share the string there is instead of holding a copy per entry.
        const QStringView type = QStringView(entry).mid(first + 1, second - first - 1);
        if (type != lastType)
            lastType = type.toString();
        const QStringView file = QStringView(entry).mid(second + 1);
        const bool ownPath = i < entryFiles.size() && file == entryFiles[i];
        m_entries.push_back({entry.left(first), lastType, ownPath ? entryFiles[i] : file.toString()});
        if (!m_byFace.contains(m_entries.back().face))
            m_byFace.insert(m_entries.back().face, at);
        if (i < entryFiles.size() && !m_byFile.contains(entryFiles[i]))
            m_byFile.insert(entryFiles[i], at);
    }
}

const InstalledFontFile *InstalledFontIndex::byFace(const QString &face) const
{
    const auto it = m_byFace.constFind(face);
    return it == m_byFace.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)];
}

const InstalledFontFile *InstalledFontIndex::byFile(const QString &file) const
{
    const auto it = m_byFile.constFind(file);
    return it == m_byFile.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)];
}

QString pitchText(int pitchAndFamily)
{
    if ((pitchAndFamily & 3) == 0)
        return QStringLiteral("Default");
    return (pitchAndFamily & 1) ? QStringLiteral("Fixed") : QStringLiteral("Variable");
}

QString familyText(int pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x50: return QStringLiteral("Decorative");
    case 0x30: return QStringLiteral("Modern");
    case 0x10: return QStringLiteral("Roman");
    case 0x40: return QStringLiteral("Script");
    case 0x20: return QStringLiteral("Swiss");
    default: return QStringLiteral("Don't care");
    }
}

std::vector<InstalledFontRow> buildInstalledFontRows(const std::vector<EnumeratedFace> &faces, const QStringList &installedFontFiles)
{
    return buildInstalledFontRows(faces, InstalledFontIndex(installedFontFiles));
}

namespace {

// Most cells repeat from row to row ("TrueType", "ANSI", "400", "Regular"): the rows share one
// string for each, so that fifty thousand rows do not hold fifty thousand copies of each.
class SharedTexts {
public:
    QString text(const QString &value)
    {
        auto it = m_texts.constFind(value);
        if (it == m_texts.cend())
            it = m_texts.insert(value);
        return *it;
    }
    QString number(int value)
    {
        auto it = m_numbers.constFind(value);
        if (it == m_numbers.cend())
            it = m_numbers.insert(value, QString::number(value));
        return *it;
    }

private:
    QSet<QString> m_texts;
    QHash<int, QString> m_numbers;
};

// Stable sort by caption with the locale's comparison, through one collation key per row: each
// comparison is then a byte comparison, not a collation of two texts.
void sortByCaption(std::vector<InstalledFontRow> &rows)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (const InstalledFontRow &row : rows)
        keys.push_back(localeSortKey(row.caption));
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    keys.clear();
    // Row p takes the row at order[p], moved along each cycle of the permutation in place.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (order[i] == i)
            continue;
        InstalledFontRow first = std::move(rows[i]);
        std::size_t at = i;
        while (order[at] != i) {
            const std::size_t from = order[at];
            rows[at] = std::move(rows[from]);
            order[at] = at;
            at = from;
        }
        rows[at] = std::move(first);
        order[at] = at;
    }
}

}

void sortInstalledFontRows(std::vector<InstalledFontRow> &rows)
{
    sortByCaption(rows);
}

std::vector<InstalledFontRow> buildInstalledFontRows(const std::vector<EnumeratedFace> &faces, const InstalledFontIndex &index)
{
    std::vector<InstalledFontRow> rows = unsortedInstalledFontRows(faces, index);
    sortByCaption(rows);
    return rows;
}

std::vector<InstalledFontRow> unsortedInstalledFontRows(const std::vector<EnumeratedFace> &faces, const InstalledFontIndex &index)
{
    std::vector<InstalledFontRow> rows;
    SharedTexts shared;
    QString previousFace;
    bool havePrevious = false;
    for (const EnumeratedFace &face : faces) {
        if (havePrevious && face.faceName == previousFace) {
            rows.back().subItems[FontsListColumn::Charsets] += QLatin1Char(';') + QString::number(face.charset);
            continue;
        }
        previousFace = face.faceName;
        havePrevious = true;
        QString type, file;
        const InstalledFontFile *entry = index.byFace(face.faceName);
        if (!entry && !face.file.isEmpty())
            entry = index.byFile(face.file);
        if (entry) {
            type = entry->type;
            file = entry->file;
        } else if (!face.file.isEmpty()) {
            type = fontsKeySuffixFor(face.format, face.raster);
            file = face.file;
        } else {
            type = QStringLiteral("TrueType");
            file = QStringLiteral("Unknown");
        }
        InstalledFontRow row;
        row.caption = face.faceName;
        row.subItems = {shared.text(type),
                        shared.text(CharsetName(face.charset)),
                        shared.number(face.lastCode > 0 ? face.lastCode : face.lastChar),
                        shared.number(face.width),
                        shared.number(face.height),
                        face.weight == 0 ? shared.text(QStringLiteral("Default")) : shared.number(face.weight),
                        shared.text(face.style),
                        shared.text(pitchText(face.pitchAndFamily)),
                        shared.text(familyText(face.pitchAndFamily)),
                        file,
                        shared.text(fileExtension(file)),
                        shared.number(face.charset)};
        // A raster face shows the raster image even when its value carries a "(VGA res)" type.
        row.image = type == QLatin1String("Raster") || face.raster ? 3 : 2;
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList faceNamesOf(const std::vector<EnumeratedFace> &faces)
{
    QStringList names;
    QString previous;
    for (const EnumeratedFace &face : faces) {
        if (!names.isEmpty() && face.faceName == previous)
            continue;
        names << face.faceName;
        previous = face.faceName;
    }
    return names;
}
