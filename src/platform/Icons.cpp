// SPDX-License-Identifier: MIT
#include "Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

using Draw = std::function<void(QPainter &)>;

const QColor kInk(40, 40, 60);
const QColor kBlue(30, 90, 200);
const QColor kGreen(30, 140, 60);
const QColor kRed(190, 40, 40);
const QColor kYellow(240, 200, 60);
const QColor kPaper(255, 255, 255);

void page(QPainter &p, QColor fold = QColor(210, 210, 220))
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    QPolygonF shape({QPointF(3.5, 1.5), QPointF(10.5, 1.5), QPointF(13.5, 4.5), QPointF(13.5, 14.5), QPointF(3.5, 14.5)});
    p.drawPolygon(shape);
    p.setBrush(fold);
    p.drawPolygon(QPolygonF({QPointF(10.5, 1.5), QPointF(10.5, 4.5), QPointF(13.5, 4.5)}));
}

void letter(QPainter &p, const QString &text, QColor color, bool bold = true, bool italic = false, bool underline = false, int size = 11,
            QRectF box = QRectF(0, 0, 16, 16))
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

void folder(QPainter &p, QColor body = kYellow)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(body.darker(110));
    p.drawRect(QRectF(1.5, 3.5, 6, 2));
    p.setBrush(body);
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

void arrow(QPainter &p, QPointF from, QPointF to, QColor color)
{
    p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({to + u * 1.5, to - u * 3 + n * 3, to - u * 3 - n * 3}));
}

void lines(QPainter &p, const std::vector<std::pair<double, double>> &spans, double top = 3.5, double step = 3)
{
    p.setPen(QPen(kInk, 1.2));
    double y = top;
    for (const auto &[x1, x2] : spans) {
        p.drawLine(QPointF(x1, y), QPointF(x2, y));
        y += step;
    }
}

void grid(QPainter &p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    for (double x : {5.83, 10.17})
        p.drawLine(QPointF(x, 1.5), QPointF(x, 14.5));
    for (double y : {5.83, 10.17})
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    letter(p, QStringLiteral("A"), kBlue, true, false, false, 5, QRectF(1.5, 1.5, 4.3, 4.3));
    letter(p, QStringLiteral("g"), kBlue, true, false, false, 5, QRectF(5.8, 5.8, 4.3, 4.3));
}

const QHash<QString, Draw> &drawings()
{
    static const QHash<QString, Draw> table = {
        {QStringLiteral("load"), [](QPainter &p) { folder(p); letter(p, QStringLiteral("A"), kBlue, true, false, false, 9, QRectF(5, 5, 10, 10)); }},
        {QStringLiteral("refresh"), [](QPainter &p) {
             p.setPen(QPen(kGreen, 1.8));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
             p.setBrush(kGreen);
             p.setPen(Qt::NoPen);
             p.drawPolygon(QPolygonF({QPointF(10, 0.5), QPointF(14.5, 3.5), QPointF(9.5, 6)}));
         }},
        {QStringLiteral("install"), [](QPainter &p) { page(p); letter(p, QStringLiteral("+"), kGreen, true, false, false, 13); }},
        {QStringLiteral("uninstall"), [](QPainter &p) { page(p); letter(p, QStringLiteral("\u2212"), kRed, true, false, false, 13); }},
        {QStringLiteral("favorites"), [](QPainter &p) {
             folder(p);
             QPainterPath star;
             for (int i = 0; i < 10; ++i) {
                 const double r = i % 2 ? 2.2 : 5;
                 const double a = -M_PI / 2 + i * M_PI / 5;
                 const QPointF pt(10.5 + r * std::cos(a), 9.5 + r * std::sin(a));
                 i ? star.lineTo(pt) : star.moveTo(pt);
             }
             star.closeSubpath();
             p.setPen(QPen(QColor(160, 60, 0), 0.8));
             p.setBrush(QColor(255, 140, 0));
             p.drawPath(star);
         }},
        {QStringLiteral("textsample"), [](QPainter &p) { page(p); lines(p, {{5, 12}, {5, 11}, {5, 12}, {5, 9}}, 5.5, 2.5); }},
        {QStringLiteral("charmap"), [](QPainter &p) { grid(p); }},
        {QStringLiteral("report"), [](QPainter &p) {
             page(p);
             p.setPen(QPen(QColor(128, 0, 0), 1.4));
             p.drawLine(QPointF(5, 5), QPointF(10, 5));
             p.setPen(QPen(QColor(0, 0, 128), 1.2));
             p.drawLine(QPointF(5, 8), QPointF(8, 8));
             p.drawLine(QPointF(5, 11), QPointF(8, 11));
             p.setPen(QPen(kInk, 1));
             p.drawLine(QPointF(9, 8), QPointF(12, 8));
             p.drawLine(QPointF(9, 11), QPointF(12, 11));
         }},
        {QStringLiteral("options"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(170, 170, 185));
             QPainterPath gear;
             for (int i = 0; i < 16; ++i) {
                 const double r = (i / 2) % 2 ? 5 : 7;
                 const double a = i * M_PI / 8;
                 const QPointF pt(8 + r * std::cos(a), 8 + r * std::sin(a));
                 i ? gear.lineTo(pt) : gear.moveTo(pt);
             }
             gear.closeSubpath();
             p.drawPath(gear);
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
         }},
        {QStringLiteral("help"), [](QPainter &p) {
             p.setPen(QPen(kBlue.darker(130), 1));
             p.setBrush(kBlue);
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             letter(p, QStringLiteral("?"), Qt::white, true, false, false, 11);
         }},
        {QStringLiteral("about"), [](QPainter &p) {
             p.setPen(QPen(kGreen.darker(130), 1));
             p.setBrush(kGreen);
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             letter(p, QStringLiteral("i"), Qt::white, true, false, false, 11);
         }},
        {QStringLiteral("loadtext"), [](QPainter &p) { folder(p); lines(p, {{6, 13}, {6, 11}}, 8.5, 2.5); }},
        {QStringLiteral("clear"), [](QPainter &p) {
             page(p);
             p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5.5, 6), QPointF(11.5, 12));
             p.drawLine(QPointF(11.5, 6), QPointF(5.5, 12));
         }},
        {QStringLiteral("cut"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1.3));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(2, 10, 4, 4));
             p.drawEllipse(QRectF(10, 10, 4, 4));
             p.drawLine(QPointF(5.5, 10.5), QPointF(11, 1.5));
             p.drawLine(QPointF(10.5, 10.5), QPointF(5, 1.5));
         }},
        {QStringLiteral("copy"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 1.5, 8, 10));
             p.drawRect(QRectF(6.5, 4.5, 8, 10));
             lines(p, {{8, 13}, {8, 13}, {8, 11}}, 7.5, 2.2);
         }},
        {QStringLiteral("paste"), [](QPainter &p) {
             p.setPen(QPen(QColor(110, 70, 20), 1));
             p.setBrush(QColor(200, 150, 80));
             p.drawRect(QRectF(1.5, 2.5, 10, 12));
             p.setBrush(QColor(180, 180, 190));
             p.drawRect(QRectF(4.5, 1.5, 4, 2));
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(6.5, 6.5, 8, 8));
         }},
        {QStringLiteral("bold"), [](QPainter &p) { letter(p, QStringLiteral("B"), kInk, true, false, false, 13); }},
        {QStringLiteral("italic"), [](QPainter &p) { letter(p, QStringLiteral("I"), kInk, false, true, false, 13); }},
        {QStringLiteral("underline"), [](QPainter &p) { letter(p, QStringLiteral("U"), kInk, false, false, true, 13); }},
        {QStringLiteral("color"), [](QPainter &p) {
             letter(p, QStringLiteral("A"), kInk, true, false, false, 11, QRectF(0, -2, 16, 14));
             p.fillRect(QRectF(1, 12, 14, 3), kRed);
         }},
        {QStringLiteral("alignleft"), [](QPainter &p) { lines(p, {{2, 14}, {2, 10}, {2, 13}, {2, 9}}); }},
        {QStringLiteral("aligncenter"), [](QPainter &p) { lines(p, {{2, 14}, {4, 12}, {2.5, 13.5}, {5, 11}}); }},
        {QStringLiteral("alignright"), [](QPainter &p) { lines(p, {{2, 14}, {6, 14}, {3, 14}, {7, 14}}); }},
        {QStringLiteral("copychar"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 1.5, 9, 11));
             letter(p, QStringLiteral("A"), kBlue, true, false, false, 9, QRectF(1.5, 1.5, 9, 11));
             arrow(p, QPointF(9, 13), QPointF(14.5, 13), kGreen);
         }},
        {QStringLiteral("tobuffer"), [](QPainter &p) {
             letter(p, QStringLiteral("A"), kBlue, true, false, false, 10, QRectF(0, 0, 9, 10));
             arrow(p, QPointF(5, 10), QPointF(5, 15), kGreen);
             p.setPen(QPen(kInk, 1));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(8.5, 9.5, 6, 5));
         }},
        {QStringLiteral("copybuffer"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 4.5, 13, 7));
             letter(p, QStringLiteral("ABC"), kBlue, true, false, false, 6, QRectF(1.5, 4.5, 13, 7));
         }},
        {QStringLiteral("charpreview"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             letter(p, QStringLiteral("A"), kBlue, true, false, false, 13);
         }},
        {QStringLiteral("goto"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
             p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(8.5, 8.5), QPointF(14, 14));
         }},
        {QStringLiteral("viewicons"), [](QPainter &p) {
             p.setPen(QPen(kBlue.darker(120), 1));
             p.setBrush(kBlue.lighter(150));
             for (double x : {1.5, 9.5})
                 for (double y : {1.5, 9.5})
                     p.drawRect(QRectF(x, y, 5, 5));
         }},
        {QStringLiteral("viewsmall"), [](QPainter &p) {
             p.setBrush(kBlue.lighter(150));
             for (double x : {1.5, 8.5})
                 for (double y : {2.5, 7.5, 12.5}) {
                     p.setPen(QPen(kBlue.darker(120), 1));
                     p.drawRect(QRectF(x, y - 1, 2, 2));
                     p.setPen(QPen(kInk, 1));
                     p.drawLine(QPointF(x + 3, y), QPointF(x + 6, y));
                 }
         }},
        {QStringLiteral("viewlist"), [](QPainter &p) {
             p.setBrush(kBlue.lighter(150));
             for (double y : {2.5, 6.5, 10.5, 14.0}) {
                 p.setPen(QPen(kBlue.darker(120), 1));
                 p.drawRect(QRectF(1.5, y - 1, 2, 2));
                 p.setPen(QPen(kInk, 1));
                 p.drawLine(QPointF(5, y), QPointF(13, y));
             }
         }},
        {QStringLiteral("viewreport"), [](QPainter &p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.fillRect(QRectF(2, 2, 12, 3), QColor(190, 190, 205));
             for (double y : {7.5, 10.5, 13.0})
                 p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
             p.drawLine(QPointF(7.5, 1.5), QPointF(7.5, 14.5));
         }},
        {QStringLiteral("link"), [](QPainter &p) {
             p.setPen(QPen(kBlue.darker(130), 1));
             p.setBrush(QColor(120, 170, 240));
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             p.setPen(QPen(kGreen, 1.2));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(5, 1.5, 6, 13));
             p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
         }},
    };
    return table;
}

QPixmap render(const Draw &draw, int size, QIcon::Mode mode)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (mode == QIcon::Active) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 230, 150, 150));
        p.drawRoundedRect(QRectF(0, 0, 16, 16), 3, 3);
    }
    draw(p);
    p.end();
    if (mode == QIcon::Disabled) {
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int gray = 128 + qGray(line[x]) / 2;
                line[x] = qRgba(gray, gray, gray, qAlpha(line[x]) / 2);
            }
        }
        return QPixmap::fromImage(image);
    }
    return pixmap;
}

QIcon iconOf(const Draw &draw, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes)
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled})
            icon.addPixmap(render(draw, size, mode), mode);
    return icon;
}

void fontFile(QPainter &p, const QString &mark, QColor color)
{
    page(p);
    letter(p, mark, color, true, false, false, 8, QRectF(3.5, 4.5, 10, 10));
}

}

QIcon Icons::get(const QString &name)
{
    static QHash<QString, QIcon> made;
    auto it = made.find(name);
    if (it == made.end()) {
        const auto draw = drawings().value(name);
        it = made.insert(name, draw ? iconOf(draw, {16, 32}) : QIcon());
    }
    return *it;
}

QStringList Icons::names()
{
    return drawings().keys();
}

std::vector<QIcon> Icons::fileImages()
{
    static const std::vector<QIcon> images = {
        iconOf([](QPainter &p) { folder(p); }, {16, 32}),
        iconOf([](QPainter &p) {
            folder(p, QColor(250, 225, 130));
            arrow(p, QPointF(8, 12.5), QPointF(8, 6.5), kGreen);
        }, {16, 32}),
        iconOf([](QPainter &p) { fontFile(p, QStringLiteral("TT"), kBlue); }, {16, 32}),
        iconOf([](QPainter &p) { fontFile(p, QStringLiteral("A"), kRed); }, {16, 32}),
        iconOf([](QPainter &p) {
            p.setPen(QPen(QColor(80, 60, 120), 1));
            p.setBrush(QColor(170, 140, 220));
            p.drawRect(QRectF(2.5, 2.5, 11, 12));
            p.fillRect(QRectF(7, 2.5, 2, 12), QColor(240, 220, 120));
            for (double y = 3.5; y < 13; y += 2)
                p.fillRect(QRectF(y < 8 ? 7 : 8, y, 1, 1), kInk);
        }, {16, 32}),
    };
    return images;
}

std::vector<QIcon> Icons::linkImages()
{
    return {fileImages()[0], get(QStringLiteral("link"))};
}
