// SPDX-License-Identifier: MIT
#include "Icons.h"

#include "Paths.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <memory>

namespace {

// The program's commands and their freedesktop names, where one means the same command; the
// others have no such name and always use the bundled picture.
struct Source {
    const char *name;
    const char *freedesktop;
};

constexpr Source kSources[] = {
    {"load", "document-open"},
    {"refresh", "view-refresh"},
    {"install", nullptr},
    {"uninstall", nullptr},
    {"favorites", nullptr},
    {"textsample", nullptr},
    {"charmap", nullptr},
    {"report", nullptr},
    {"unicodemap", nullptr},
    {"waterfall", nullptr},
    {"options", "preferences-system"},
    {"help", "help-contents"},
    {"about", "help-about"},
    {"loadtext", nullptr},
    {"clear", "edit-clear"},
    {"cut", "edit-cut"},
    {"copy", "edit-copy"},
    {"paste", "edit-paste"},
    {"bold", "format-text-bold"},
    {"italic", "format-text-italic"},
    {"underline", "format-text-underline"},
    {"color", nullptr},
    {"alignleft", "format-justify-left"},
    {"aligncenter", "format-justify-center"},
    {"alignright", "format-justify-right"},
    {"copychar", nullptr},
    {"tobuffer", nullptr},
    {"copybuffer", nullptr},
    {"charpreview", nullptr},
    {"goto", "go-jump"},
    {"viewicons", nullptr},
    {"viewsmall", nullptr},
    {"viewlist", nullptr},
    {"viewreport", nullptr},
    {"link", nullptr},
};

constexpr const char *kFileImages[] = {"file-folder", "file-parent", "file-truetype", "file-raster", "file-zip"};

// The pictures are drawn on a 16-unit square.
constexpr qreal kDesignSize = 16;

void greyOut(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int gray = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(gray, gray, gray, qAlpha(line[x]) / 2);
        }
    }
}

// A selected list item tints its image with the highlight colour, as the styles do.
void tintAsSelected(QImage &image)
{
    QColor color = QGuiApplication::palette().color(QPalette::Normal, QPalette::Highlight);
    color.setAlphaF(0.3f);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(image.rect(), color);
}

// Draws one bundled SVG at exactly the pixel size asked for, so it stays sharp at every size and
// device pixel ratio, and makes the hot and disabled forms from it.
class BundledIconEngine final : public QIconEngine {
public:
    explicit BundledIconEngine(QString file)
        : m_file(std::move(file))
    {
    }

    QIconEngine *clone() const override { return new BundledIconEngine(m_file); }
    QString key() const override { return QStringLiteral("GlyvantaBundled"); }
    QString iconName() override { return QFileInfo(m_file).completeBaseName(); }
    bool isNull() override { return !renderer().isValid(); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize pixels = size * scale;
        if (pixels.isEmpty())
            return QPixmap();
        const QString cacheKey = QStringLiteral("glyvanta-icon:%1:%2x%3:%4")
                                     .arg(m_file).arg(pixels.width()).arg(pixels.height()).arg(int(mode));
        QPixmap pixmap;
        if (!QPixmapCache::find(cacheKey, &pixmap)) {
            pixmap = render(pixels, mode);
            QPixmapCache::insert(cacheKey, pixmap);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

private:
    QSvgRenderer &renderer()
    {
        if (!m_renderer)
            m_renderer = std::make_unique<QSvgRenderer>(m_file);
        return *m_renderer;
    }

    QPixmap render(const QSize &pixels, QIcon::Mode mode)
    {
        QImage image(pixels, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // A picture asked for in another shape is drawn square in its middle.
        const int side = qMin(pixels.width(), pixels.height());
        p.translate((pixels.width() - side) / 2, (pixels.height() - side) / 2);
        p.scale(side / kDesignSize, side / kDesignSize);
        if (mode == QIcon::Active) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 230, 150, 150));
            p.drawRoundedRect(QRectF(0, 0, kDesignSize, kDesignSize), 3, 3);
        }
        renderer().render(&p, QRectF(0, 0, kDesignSize, kDesignSize));
        p.end();
        if (mode == QIcon::Disabled)
            greyOut(image);
        else if (mode == QIcon::Selected)
            tintAsSelected(image);
        return QPixmap::fromImage(image);
    }

    QString m_file;
    std::unique_ptr<QSvgRenderer> m_renderer;
};

const Source *findSource(const QString &name)
{
    for (const Source &source : kSources)
        if (name == QLatin1String(source.name))
            return &source;
    return nullptr;
}

bool isBundledName(const QString &name)
{
    if (findSource(name))
        return true;
    for (const char *file : kFileImages)
        if (name == QLatin1String(file))
            return true;
    return false;
}

}

QIcon Icons::bundled(const QString &name)
{
    if (!isBundledName(name))
        return QIcon();
    return QIcon(new BundledIconEngine(bundledResource(QStringLiteral("icons/") + name + QStringLiteral(".svg"))));
}

QIcon Icons::get(const QString &name)
{
    const Source *source = findSource(name);
    if (!source)
        return QIcon();
    // With no theme (as offscreen and in the tests) every picture is the bundled one, the same on
    // every machine.
    if (source->freedesktop && !QIcon::themeName().isEmpty()) {
        const QString themed = QLatin1String(source->freedesktop);
        if (QIcon::hasThemeIcon(themed))
            return QIcon::fromTheme(themed);
    }
    return bundled(name);
}

QStringList Icons::names()
{
    QStringList names;
    for (const Source &source : kSources)
        names << QLatin1String(source.name);
    return names;
}

std::vector<QIcon> Icons::fileImages()
{
    std::vector<QIcon> images;
    for (const char *file : kFileImages)
        images.push_back(bundled(QLatin1String(file)));
    return images;
}

std::vector<QIcon> Icons::linkImages()
{
    return {bundled(QLatin1String(kFileImages[0])), bundled(QStringLiteral("link"))};
}
