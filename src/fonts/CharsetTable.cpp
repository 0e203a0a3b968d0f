// SPDX-License-Identifier: MIT
#include "CharsetTable.h"

#include "IntConv.h"

#include <utility>

namespace {
// In the order CharsetCode compares the names.
const std::pair<int, const char *> kCharsets[] = {
    {0, "ANSI"}, {2, "Symbol"}, {1, "Default"}, {128, "Japan"}, {134, "Chiniese (simple)"}, {129, "Korea"},
    {136, "Chiniese (traditional)"}, {204, "Cyrillic"}, {255, "MSDOS"}, {130, "Johab"}, {177, "Hebrew"},
    {178, "Arabic"}, {161, "Greek"}, {162, "Turkey"}, {222, "Thai"}, {238, "East Europe"}, {77, "MAC OS"},
    {186, "Baltic"},
};
}

QString CharsetName(int code)
{
    for (const auto &[c, name] : kCharsets)
        if (c == code)
            return QString::fromLatin1(name);
    return QStringLiteral("Unknown (") + QString::number(code) + QLatin1Char(')');
}

int CharsetCode(const QString &name)
{
    for (const auto &[c, n] : kCharsets)
        if (name == QLatin1String(n))
            return c;
    // "Unknown (" is nine characters; the number runs from the tenth up to the closing parenthesis.
    return StrToInt(name.mid(9, name.size() - 10));
}

bool CharsetNamesFromList(QStringList *target, const QString &codes, QChar separator)
{
    if (!target || codes.isEmpty())
        return false;
    target->clear();
    QString rest = codes;
    for (qsizetype at = rest.indexOf(separator); at >= 0; at = rest.indexOf(separator)) {
        target->append(CharsetName(StrToInt(rest.left(at))));
        rest = rest.mid(at + 1);
    }
    target->append(CharsetName(StrToInt(rest)));
    return true;
}
