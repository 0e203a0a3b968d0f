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
// The same for a face of a font file: a file added as a temporary font is drawn through the
// family the toolkit has for that file alone; another file (an installed one) by its name.
void setFileFace(QWidget *control, const QString &faceName, FontCatalogue &catalogue, const QString &file, int faceIndex);

// The Windows charset the control's font is set to (the default charset, 1, until set).
void setFaceCharset(QWidget *control, int charset);
int faceCharset(const QWidget *control);
