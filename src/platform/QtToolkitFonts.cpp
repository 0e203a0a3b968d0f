// SPDX-License-Identifier: MIT
#include "QtToolkitFonts.h"

#include <QFontDatabase>

int QtToolkitFonts::addFont(const QByteArray &content)
{
    return QFontDatabase::addApplicationFontFromData(content);
}

void QtToolkitFonts::removeFont(int id)
{
    QFontDatabase::removeApplicationFont(id);
}
