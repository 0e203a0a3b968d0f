// SPDX-License-Identifier: MIT
#include "SameGlyphs.h"

#include "PrivateFamily.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>

namespace {

// The toolkit loads the first face of a collection from bytes: the face asked for is put first.
QByteArray withFaceFirst(QByteArray content, int faceIndex)
{
    if (faceIndex <= 0 || !content.startsWith("ttcf"))
        return content;
    const qsizetype at = 12 + 4 * static_cast<qsizetype>(faceIndex);
    if (content.size() < at + 4)
        return content;
    for (qsizetype i = 0; i < 4; ++i)
        std::swap(content[12 + i], content[at + i]);
    return content;
}

// The size a face of bitmaps only is drawn at without scaling, in pixels per em (which the
// toolkit matches a pixel size against): its first strike. 0 for a scalable face.
int strikeSize(const QByteArray &content, int faceIndex)
{
    static FT_Library library = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    FT_Face face = nullptr;
    if (!library || FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(content.constData()), content.size(), faceIndex, &face) != 0)
        return 0;
    const int size = !FT_IS_SCALABLE(face) && face->num_fixed_sizes > 0 ? static_cast<int>((face->available_sizes[0].y_ppem + 32) / 64) : 0;
    FT_Done_Face(face);
    return size;
}

// The first characters of the face's own coverage (of ASCII only, for a raster face).
QString coveredText(const QRawFont &face, bool raster)
{
    QString text;
    for (char32_t c = 0x21; c < (raster ? 0x7F : 0x30000) && text.size() < 24; ++c)
        if (face.supportsCharacter(c))
            text += QString::fromUcs4(&c, 1);
    return text;
}

QImage drawn(const QRawFont &font, const QString &text)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    QPointF at;
    for (const QPointF &advance : advances) {
        positions << at;
        at += advance;
    }
    const int size = static_cast<int>(font.pixelSize());
    QImage image(std::max(1, static_cast<int>(at.x()) + 2 * size), 3 * size, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(size, 2 * size), run);
    return image;
}

// The share of inked pixels that only one of the two images has.
double inkDifference(const QImage &a, const QImage &b)
{
    qint64 differ = 0, inked = 0;
    for (int y = 0; y < std::max(a.height(), b.height()); ++y)
        for (int x = 0; x < std::max(a.width(), b.width()); ++x) {
            const bool inA = x < a.width() && y < a.height() && a.constScanLine(y)[x] < 128;
            const bool inB = x < b.width() && y < b.height() && b.constScanLine(y)[x] < 128;
            differ += inA != inB;
            inked += inA || inB;
        }
    return inked == 0 ? 0.0 : static_cast<double>(differ) / static_cast<double>(inked);
}

}

bool drawsFileGlyphs(const QFont &font, const QByteArray &fileContent, int faceIndex, int pixelSize, QString *why)
{
    // A raster font's codes are bytes that FreeType offers through no Unicode character map: its
    // glyphs are read through the byte codes the toolkit's copy declares, over ASCII, where the
    // bytes of every Windows character set are the characters.
    const bool sfntOrType1 = privateFaceFamily(fileContent, 1, 0).startsWith(QLatin1String("Glyvanta"));
    const QByteArray content = sfntOrType1 ? withFaceFirst(fileContent, faceIndex) : withPrivateFamily(fileContent, 1);
    if (const int strike = strikeSize(content, 0); strike > 0)
        pixelSize = strike;
    QFont sized = font;
    sized.setPixelSize(pixelSize);
    const QRawFont used = QRawFont::fromFont(sized);
    // A face of bitmaps alone is drawn at the size of one of its strikes.
    const QRawFont file(content, used.isValid() ? used.pixelSize() : pixelSize, font.hintingPreference());
    auto fail = [&](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    if (!file.isValid())
        return fail(QStringLiteral("the file's face cannot be loaded"));
    if (!used.isValid())
        return fail(QStringLiteral("the font resolves to nothing"));
    const QString text = coveredText(file, !sfntOrType1);
    if (text.isEmpty())
        return fail(QStringLiteral("the face covers no character"));
    const double difference = inkDifference(drawn(used, text), drawn(file, text));
    if (difference > 0.01)
        return fail(QStringLiteral("drawn as %1 %2 at %3 px: %4% of the ink differs")
                        .arg(used.familyName(), used.styleName())
                        .arg(used.pixelSize())
                        .arg(difference * 100, 0, 'f', 1));
    return true;
}
