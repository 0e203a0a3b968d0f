// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

class QWidget;

// The colours of the text views' text and background, as the colour pickers hold them.
struct ViewColors {
    QColor TextColor = Qt::black;
    QColor BackgroundColor = Qt::white;
};

// Paints a view's text and background in the colours.
void setViewColors(QWidget *view, const ViewColors &colors);
