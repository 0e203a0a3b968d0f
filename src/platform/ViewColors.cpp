// SPDX-License-Identifier: MIT
#include "ViewColors.h"

#include <QWidget>

void setViewColors(QWidget *view, const ViewColors &colors)
{
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, colors.TextColor);
    palette.setColor(QPalette::Base, colors.BackgroundColor);
    view->setPalette(palette);
}
