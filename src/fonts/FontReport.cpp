// SPDX-License-Identifier: MIT
#include "FontReport.h"

#include "InstalledFonts.h"

#include <QRegularExpression>

namespace {

QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

void labelled(std::vector<ReportLine> &lines, const char *label, const QString &value, bool always = false)
{
    if (value.isEmpty() && !always)
        return;
    appendLabel(lines, QString::fromLatin1(label));
    appendValue(lines, value);
}

// Name IDs 5 to 20 without 15, as both reports print them.
void additionalNames(std::vector<ReportLine> &lines, const std::array<QString, 21> &names)
{
    const std::pair<int, const char *> tail[] = {
        {5, "Version:"}, {6, "PostScript name:"}, {7, "Trademark:"}, {8, "Manufacturer:"}, {9, "Designer:"},
        {11, "Vender URL:"}, {12, "Designer URL:"}, {13, "License Description:"}, {14, "License info URL:"},
        {16, "Prefer family:"}, {17, "Prefer subfamily:"}, {18, "Compatible Full:"}, {19, "Sample Text:"}, {20, "PostScript CID:"},
    };
    for (const auto &[id, label] : tail)
        labelled(lines, label, names[static_cast<size_t>(id)]);
}

QByteArray rtfEscape(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0x80) {
            // A signed 16-bit number, then "?" for readers that do not know \u.
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
    return out;
}

}

void appendHeading(std::vector<ReportLine> &lines, const QString &text)
{
    for (const QString &line : splitLines(text))
        lines.push_back({ReportLineKind::Heading, line});
    lines.push_back({ReportLineKind::Heading, QString()});
}

void appendLabel(std::vector<ReportLine> &lines, const QString &text)
{
    lines.push_back({ReportLineKind::Label, text});
}

void appendValue(std::vector<ReportLine> &lines, const QString &text)
{
    if (text.isEmpty())
        return;
    for (const QString &line : splitLines(text))
        lines.push_back({ReportLineKind::Value, line});
}

std::vector<ReportLine> installedFontReport(const QString &caption, const QStringList &cells,
                                            const std::array<QString, 21> &names, const QStringList &charsetNames)
{
    using namespace FontsListColumn;
    std::vector<ReportLine> lines;
    appendHeading(lines, QStringLiteral("General Options"));
    labelled(lines, "Font Name:", caption, true);
    labelled(lines, "Font File Name:", cells.value(FileName), true);
    labelled(lines, "Copyright:", names[0]);
    labelled(lines, "Description:", names[10]);
    appendHeading(lines, QStringLiteral("\nText Options"));
    labelled(lines, "Characters total:", cells.value(Characters));
    labelled(lines, "Width:", cells.value(Width));
    labelled(lines, "Height:", cells.value(Height));
    labelled(lines, "Weigth:", cells.value(Weight));
    labelled(lines, "Style:", cells.value(Style));
    labelled(lines, "Type:", cells.value(Pitch));
    labelled(lines, "Pitch:", cells.value(Family));
    appendHeading(lines, QStringLiteral("\nCharsets"));
    for (const QString &name : charsetNames)
        appendValue(lines, QStringLiteral("- ") + name);
    appendHeading(lines, QStringLiteral("\nAdditional Options"));
    labelled(lines, "Font Family:", names[1]);
    labelled(lines, "ID:", names[3]);
    additionalNames(lines, names);
    return lines;
}

std::vector<ReportLine> fontFileReport(const QString &faceName, const QString &path, const std::array<QString, 21> &names, int faceIndex,
                                       int faceCount)
{
    std::vector<ReportLine> lines;
    appendHeading(lines, QStringLiteral("General Options"));
    labelled(lines, "Font Name:", faceName, true);
    labelled(lines, "Font File Name:", path, true);
    if (faceCount > 1)
        labelled(lines, "Face:", QStringLiteral("%1 of %2").arg(faceIndex + 1).arg(faceCount));
    labelled(lines, "Copyright:", names[0]);
    labelled(lines, "Description:", names[10]);
    appendHeading(lines, QStringLiteral("\nAdditional Options"));
    labelled(lines, "Font Family:", names[1]);
    labelled(lines, "Font Subfamily:", names[2]);
    labelled(lines, "ID:", names[3]);
    additionalNames(lines, names);
    return lines;
}

QByteArray reportToRtf(const std::vector<ReportLine> &lines, int basePointSize)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}"
                     "{\\colortbl;\\red128\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green0\\blue0;}\n";
    const QByteArray base = QByteArray::number(basePointSize * 2);
    const QByteArray heading = QByteArray::number((basePointSize + 2) * 2);
    for (const ReportLine &line : lines) {
        switch (line.kind) {
        case ReportLineKind::Heading: rtf += "\\pard\\f0\\cf1\\b\\fs" + heading + ' '; break;
        case ReportLineKind::Label: rtf += "\\pard\\f0\\cf2\\b\\fs" + base + ' '; break;
        case ReportLineKind::Value: rtf += "\\pard\\f0\\cf3\\b0\\fs" + base + ' '; break;
        }
        rtf += rtfEscape(line.text) + "\\par\n";
    }
    return rtf + "}\n";
}
