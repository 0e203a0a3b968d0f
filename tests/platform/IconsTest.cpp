// SPDX-License-Identifier: MIT
#include "FontLookupProbe.h"
#include "Icons.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSet>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

const int kSizes[] = {16, 24, 32, 48};
const char *const kFileImages[] = {"file-folder", "file-parent", "file-truetype", "file-raster", "file-zip"};

QImage picture(const QIcon &icon, int size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The SVG drawn straight onto a square of the given size, as the program's pictures should be.
QImage drawnDirectly(const QString &file, int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(0, 0, size, size));
    p.end();
    // Through a pixmap, as an icon's picture comes.
    return QPixmap::fromImage(image).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool near(QRgb a, QColor b)
{
    return qAbs(qRed(a) - b.red()) <= 2 && qAbs(qGreen(a) - b.green()) <= 2 && qAbs(qBlue(a) - b.blue()) <= 2 && qAlpha(a) == b.alpha();
}

int visiblePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

// Every icon in every form at every size: what building the toolbars, tabs and lists asks for.
void drawEverything()
{
    std::vector<QIcon> icons;
    for (const QString &name : Icons::names())
        icons.push_back(Icons::get(name));
    for (const QIcon &icon : Icons::fileImages())
        icons.push_back(icon);
    for (const QIcon &icon : Icons::linkImages())
        icons.push_back(icon);
    for (const QIcon &icon : icons)
        for (int size : kSizes)
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled, QIcon::Selected})
                ASSERT_FALSE(icon.pixmap(QSize(size, size), mode).isNull());
}

}

// Each picture is the bundled SVG drawn at the size asked for (not a smaller one scaled up), has
// something to show, and no two commands share one.
TEST(Icons, EveryNameHasItsOwnBundledPictureDrawnAtEachSize)
{
    QStringList all = Icons::names();
    ASSERT_EQ(all.size(), 35);
    for (const char *file : kFileImages)
        all << QLatin1String(file);
    QSet<QByteArray> seen;
    for (const QString &name : all) {
        SCOPED_TRACE(name.toStdString());
        const QIcon icon = Icons::names().contains(name) ? Icons::get(name) : Icons::bundled(name);
        ASSERT_FALSE(icon.isNull());
        const QString file = bundledResource(QStringLiteral("icons/") + name + QStringLiteral(".svg"));
        for (int size : kSizes) {
            const QImage image = picture(icon, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            EXPECT_EQ(image, drawnDirectly(file, size)) << size << " px";
            EXPECT_GT(visiblePixels(image), size * size / 16) << size << " px";
        }
        const QImage small = picture(icon, 16);
        seen.insert(QByteArray(reinterpret_cast<const char *>(small.constBits()), small.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), all.size());
    EXPECT_TRUE(Icons::get(QStringLiteral("no-such-command")).isNull());

    const std::vector<QIcon> files = Icons::fileImages();
    ASSERT_EQ(files.size(), 5u);
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(picture(files[i], 32), drawnDirectly(bundledResource(QStringLiteral("icons/%1.svg").arg(QLatin1String(kFileImages[i]))), 32));
    const std::vector<QIcon> links = Icons::linkImages();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(picture(links[0], 16), picture(files[0], 16));
    EXPECT_EQ(picture(links[1], 16), picture(Icons::get(QStringLiteral("link")), 16));
}

// Letters in the pictures are outlines: the SVGs hold no text, and drawing every icon makes no
// font lookup, even with Qt's font caches emptied first. Drawing one line of text afterwards
// shows that the probe sees the lookups that text needs.
TEST(Icons, DrawnWithoutAnyFontLookup)
{
    for (const QString &entry : QDir(bundledResource(QStringLiteral("icons"))).entryList()) {
        QFile file(bundledResource(QStringLiteral("icons/") + entry));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.toStdString();
        const QByteArray svg = file.readAll().toLower();
        EXPECT_FALSE(svg.contains("<text") || svg.contains("font")) << entry.toStdString();
    }

    // Adding and removing an application font empties the font caches.
    const int id = QFontDatabase::addApplicationFont(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")));
    ASSERT_GE(id, 0);
    ASSERT_TRUE(QFontDatabase::removeApplicationFont(id));
    QPixmapCache::clear();

    const int before = fontprobe::lookups();
    drawEverything();
    EXPECT_EQ(fontprobe::lookups(), before);

    QImage text(64, 64, QImage::Format_ARGB32);
    QPainter p(&text);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(37);
    p.setFont(font);
    p.drawText(text.rect(), QStringLiteral("B"));
    p.end();
    EXPECT_GT(fontprobe::lookups(), before);
}

TEST(Icons, HotFormHasAPaleHighlightAndDisabledFormIsGrey)
{
    const QIcon bold = Icons::get(QStringLiteral("bold"));
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        const QImage normal = picture(bold, size);
        const QImage hot = picture(bold, size, QIcon::Active);
        const QImage disabled = picture(bold, size, QIcon::Disabled);
        // Above the letter the normal form is empty and the hot one pale yellow.
        const QPoint top(size / 2, size / 16);
        EXPECT_EQ(qAlpha(normal.pixel(top)), 0);
        EXPECT_TRUE(near(hot.pixel(top), QColor(255, 230, 150, 150))) << qPrintable(QColor::fromRgba(hot.pixel(top)).name(QColor::HexArgb));
        // The letter itself is drawn over the highlight.
        const QPoint stem(size * 9 / 32, size / 2);
        EXPECT_EQ(qAlpha(normal.pixel(stem)), 255);
        EXPECT_EQ(hot.pixel(stem), normal.pixel(stem));
        int grey = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb d = disabled.pixel(x, y);
                ASSERT_EQ(qRed(d), qGreen(d));
                ASSERT_EQ(qGreen(d), qBlue(d));
                ASSERT_EQ(qAlpha(d), qAlpha(normal.pixel(x, y)) / 2);
                grey += qAlpha(d) > 0;
            }
        EXPECT_GT(grey, size * size / 10);
    }
}

// A desktop theme gives the pictures of the commands that have a freedesktop name; the program's
// own commands keep the bundled ones, as does a command the theme has no picture for.
TEST(Icons, ThemeIconsOnlyForCommandsWithAFreedesktopName)
{
    const QString bundledCopy = bundledResource(QStringLiteral("icons/copy.svg"));
    ASSERT_TRUE(QIcon::themeName().isEmpty());
    EXPECT_EQ(picture(Icons::get(QStringLiteral("copy")), 16), drawnDirectly(bundledCopy, 16));

    const QString root = TestEnvironment::instance().makeFolder(QStringLiteral("icontheme"));
    const QString themeFolder = root + QStringLiteral("GlyvantaTest/");
    QDir().mkpath(themeFolder + QStringLiteral("16x16/actions"));
    QFile index(themeFolder + QStringLiteral("index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=GlyvantaTest\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nType=Fixed\n");
    index.close();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    for (const char *name : {"edit-copy", "install", "copychar"})
        ASSERT_TRUE(red.save(themeFolder + QStringLiteral("16x16/actions/%1.png").arg(QLatin1String(name))));

    const QStringList savedPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({root});
    QIcon::setThemeName(QStringLiteral("GlyvantaTest"));
    const QIcon copy = Icons::get(QStringLiteral("copy"));
    const QIcon cut = Icons::get(QStringLiteral("cut"));
    const QIcon install = Icons::get(QStringLiteral("install"));
    const QIcon copyChar = Icons::get(QStringLiteral("copychar"));
    const QString copyName = copy.name();
    const QImage themedCopy = picture(copy, 16);
    const QImage bundledCut = picture(cut, 16);
    const QImage bundledInstall = picture(install, 16);
    const QImage bundledCopyChar = picture(copyChar, 16);
    QIcon::setThemeName(QString());
    QIcon::setThemeSearchPaths(savedPaths);

    EXPECT_EQ(copyName, QStringLiteral("edit-copy"));
    EXPECT_EQ(QColor::fromRgba(themedCopy.pixel(8, 8)), QColor(255, 0, 0));
    EXPECT_EQ(bundledCut, drawnDirectly(bundledResource(QStringLiteral("icons/cut.svg")), 16));
    EXPECT_EQ(bundledInstall, drawnDirectly(bundledResource(QStringLiteral("icons/install.svg")), 16));
    EXPECT_EQ(bundledCopyChar, drawnDirectly(bundledResource(QStringLiteral("icons/copychar.svg")), 16));
}
