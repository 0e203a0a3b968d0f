// SPDX-License-Identifier: MIT
#include "FaceFont.h"

#include "FontCatalogue.h"

#include <QVariant>
#include <QWidget>

namespace {

void setFaceFont(QWidget *control, const QString &name, const FaceStyle &resolved)
{
    control->setProperty("faceName", name);
    QFont font = control->font();
    font.setFamilies(resolved.family.isEmpty() ? QStringList() : QStringList{resolved.family});
    font.setStyleName(resolved.style);
    // The face itself, never glyphs of other fonts: merging makes the toolkit look up fallback
    // families for every face shown, a walk over all installed families each time.
    font.setStyleStrategy(QFont::NoFontMerging);
    control->setFont(font);
}

}

void setFaceName(QWidget *control, const QString &name, FontCatalogue &catalogue)
{
    setFaceFont(control, name, catalogue.drawnStyle(name));
}

QString faceName(const QWidget *control)
{
    return control->property("faceName").toString();
}

void setFaceCharset(QWidget *control, int charset)
{
    control->setProperty("faceCharset", charset);
}

int faceCharset(const QWidget *control)
{
    const QVariant value = control->property("faceCharset");
    return value.isValid() ? value.toInt() : 1;
}

void setFileFace(QWidget *control, const QString &name, FontCatalogue &catalogue, const QString &file, int faceIndex)
{
    const FaceStyle own = file.isEmpty() ? FaceStyle() : catalogue.temporaryStyle(file, faceIndex);
    setFaceFont(control, name, own.family.isEmpty() ? catalogue.drawnStyle(name) : own);
}
