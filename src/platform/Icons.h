// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

#include <vector>

// The program's pictures, drawn in code: 16-pixel toolbar, tab and menu images with normal,
// hot (hover) and disabled forms, and the file images of the lists.
namespace Icons {
QIcon get(const QString &name);
// 0 folder, 1 parent folder, 2 TrueType font, 3 raster font, 4 ZIP archive; 16 and 32 pixels.
std::vector<QIcon> fileImages();
// 0 favourite folder, 1 web link.
std::vector<QIcon> linkImages();
QStringList names();
}
