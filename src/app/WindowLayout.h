// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

class RegistryStore;
class TFormPreview;

// What the window keeps of its layout besides the options block, in values of its own under
// the settings key (the block and the other values stay as they are): "Window Left" and
// "Window Top", "Splitter Position" (the navigation box's width), "View Style" (0 large icons,
// 1 small icons, 2 list, 3 report), "Text Style" (1 bold, 2 italic, 4 underline, 8 strike out)
// and "Text Alignment" (0 left, 1 centre, 2 right), all 32-bit values.
struct WindowLayout {
    std::optional<QPoint> position;
    std::optional<int> splitter;
    std::optional<int> viewStyle;
    std::optional<int> textStyle;
    std::optional<int> alignment;
};

// A value that is absent, of another type or out of range is left out.
WindowLayout readWindowLayout(const RegistryStore &store);
void writeWindowLayout(RegistryStore &store, const WindowLayout &layout);

// Where a window of this frame goes: where it is when enough of it (its top left part, where
// the title bar is) lies on one of the screens; else centred on the first screen (the primary
// one), so that a position left from a screen no longer attached cannot hide the window.
QPoint placeOnScreens(const QRect &frame, const QList<QRect> &screens);

// The layout as the window shows it now, and the layout applied to the window at start-up.
WindowLayout windowLayoutOf(TFormPreview &form);
void applyWindowLayout(TFormPreview &form, const WindowLayout &layout);

// The program's icon: the desktop theme's, else the one compiled into the program.
QIcon applicationIcon();
