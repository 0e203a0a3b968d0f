// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class FontCatalogue;
class QWidget;

// A control's font is named by a face name (a family or a full name), which the program keeps as
// text because the status bar, the install and the report use that text. The drawn font follows
// it through the catalogue; size, styles and colour stay as they are.
void setFaceName(QWidget *control, const QString &faceName, FontCatalogue &catalogue);
QString faceName(const QWidget *control);

// The Windows charset the control's font is set to (the default charset, 1, until set).
void setFaceCharset(QWidget *control, int charset);
int faceCharset(const QWidget *control);
