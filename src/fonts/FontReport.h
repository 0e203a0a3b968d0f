// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

enum class ReportLineKind { Heading, Label, Value };

struct ReportLine {
    ReportLineKind kind;
    QString text;
    bool operator==(const ReportLine &) const = default;
};

// Appends lines of the three kinds as the report pane shows them: a heading split at its line
// breaks and followed by an empty line; a label as one line; a value split at its line breaks,
// an empty value giving no line.
void appendHeading(std::vector<ReportLine> &lines, const QString &text);
void appendLabel(std::vector<ReportLine> &lines, const QString &text);
void appendValue(std::vector<ReportLine> &lines, const QString &text);

// The report for an installed font: the row's caption and twelve cells, the names read from its
// file (all empty when none could be read) and the charset box's entries.
std::vector<ReportLine> installedFontReport(const QString &caption, const QStringList &cells,
                                            const std::array<QString, 21> &names, const QStringList &charsetNames);
// The report for a TrueType font file. A face of a collection says which of how many it is.
std::vector<ReportLine> fontFileReport(const QString &faceName, const QString &path, const std::array<QString, 21> &names,
                                       int faceIndex = 0, int faceCount = 1);

// The lines as a rich-text document: headings maroon, bold and two points larger than the base
// size; labels navy and bold; values black.
QByteArray reportToRtf(const std::vector<ReportLine> &lines, int basePointSize);
