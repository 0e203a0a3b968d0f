// SPDX-License-Identifier: MIT
#include "FontFileTypes.h"

QString fileExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < slash)
        return {};
    return fileName.mid(dot);
}

int FileTypeImage(const QString &extension, int filter)
{
    const QString ext = extension.toLower();
    if ((ext == QLatin1String(".ttf") || ext == QLatin1String(".001")) && (filter == 0 || filter == 2))
        return 2;
    if (ext == QLatin1String(".fon") && (filter == 1 || filter == 2))
        return 3;
    return -1;
}
