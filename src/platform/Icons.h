// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

#include <vector>

// The program's pictures: toolbar, tab and menu images and the file images of the lists. A
// command that the freedesktop icon names know (open, refresh, cut, copy, paste, bold, ...) takes
// the desktop theme's icon when a theme has it; everything else, and everything when no theme is
// set, comes from the SVG set compiled into the binary, drawn at the size asked for, with a pale
// highlight behind the hot (Active) form and a grey disabled form. No picture asks for a font.
namespace Icons {
QIcon get(const QString &name);
// 0 folder, 1 parent folder, 2 TrueType font, 3 raster font, 4 ZIP archive; always the bundled set.
std::vector<QIcon> fileImages();
// 0 favourite folder, 1 web link.
std::vector<QIcon> linkImages();
QStringList names();
// The picture from the bundled set alone, whatever the theme; null for an unknown name.
QIcon bundled(const QString &name);
}
