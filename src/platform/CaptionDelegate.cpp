// SPDX-License-Identifier: MIT
#include "CaptionDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QListView>

namespace {
constexpr int kPadding = 2;
}

QStringList CaptionDelegate::shownLines(const QString &text, const QFontMetrics &metrics, int width, int maxLines, Qt::TextElideMode mode)
{
    if (width <= 0 || maxLines <= 0 || text.isEmpty())
        return {};
    // Breaks by the metrics' own widths, so that what is measured is what is drawn.
    auto layOut = [&](const QString &all) {
        QStringList lines;
        int lineStart = 0;
        for (int i = 0; i < all.size(); ++i) {
            const QString candidate = all.mid(lineStart, i - lineStart + 1);
            if (metrics.horizontalAdvance(candidate) > width && i > lineStart) {
                // Prefer a break after a blank, a separator or a dash within this line.
                int cut = i;
                for (int j = i; j > lineStart + 1; --j) {
                    const QChar c = all.at(j - 1);
                    if (c.isSpace() || c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('_')) {
                        cut = j;
                        break;
                    }
                }
                // Never between the halves of a surrogate pair.
                if (cut > lineStart + 1 && all.at(cut - 1).isHighSurrogate())
                    --cut;
                lines << all.mid(lineStart, cut - lineStart).trimmed();
                lineStart = cut;
                i = cut - 1;
            }
        }
        lines << all.mid(lineStart).trimmed();
        return lines;
    };
    QStringList lines = layOut(text);
    if (lines.size() <= maxLines)
        return lines;
    // Too long: cut the text to what the lines hold, a little less for the breaks, and lay it
    // out again until it fits.
    for (int room = width * maxLines; room > 0; room -= std::max(1, width / 8)) {
        lines = layOut(metrics.elidedText(text, mode == Qt::ElideNone ? Qt::ElideRight : mode, room));
        if (lines.size() <= maxLines)
            return lines;
    }
    return lines.mid(0, maxLines);
}

QRect CaptionDelegate::textRect(const QStyleOptionViewItem &option)
{
    const int iconHeight = option.decorationSize.height();
    return QRect(option.rect.left() + kPadding, option.rect.top() + iconHeight + 2 * kPadding, option.rect.width() - 2 * kPadding,
                 option.rect.height() - iconHeight - 3 * kPadding);
}

QStringList CaptionDelegate::linesFor(const QStyleOptionViewItem &given, const QModelIndex &index) const
{
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    const QRect room = textRect(option);
    const int lineHeight = option.fontMetrics.height();
    const int maxLines = std::max(1, room.height() / std::max(1, lineHeight));
    return shownLines(option.text, option.fontMetrics, room.width(), maxLines, option.textElideMode);
}

void CaptionDelegate::paint(QPainter *painter, const QStyleOptionViewItem &given, const QModelIndex &index) const
{
    QStyleOptionViewItem option = given;
    initStyleOption(&option, index);
    const QStringList lines = linesFor(given, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    // The item's frame, selection and focus as the style draws them, without its text.
    QStyleOptionViewItem frame = option;
    frame.text.clear();
    frame.icon = QIcon();
    frame.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    style->drawControl(QStyle::CE_ItemViewItem, &frame, painter, widget);
    const QSize iconSize = option.decorationSize;
    const QRect iconRect(option.rect.left() + (option.rect.width() - iconSize.width()) / 2, option.rect.top() + kPadding, iconSize.width(),
                         iconSize.height());
    const QIcon::Mode mode = !(option.state & QStyle::State_Enabled) ? QIcon::Disabled
        : (option.state & QStyle::State_Selected)                   ? QIcon::Selected
                                                                     : QIcon::Normal;
    option.icon.paint(painter, iconRect, Qt::AlignCenter, mode);
    const QRect room = textRect(option);
    const QPalette::ColorGroup group = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    const int lineHeight = option.fontMetrics.height();
    if (option.state & QStyle::State_Selected) {
        // The highlight sits behind the caption's lines, as wide as the widest.
        int widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, option.fontMetrics.horizontalAdvance(line));
        const QRect behind(room.left() + (room.width() - widest) / 2 - 1, room.top(), widest + 2, lineHeight * static_cast<int>(lines.size()));
        painter->fillRect(behind, option.palette.brush(group, QPalette::Highlight));
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter->drawText(QRect(room.left(), room.top() + static_cast<int>(i) * lineHeight, room.width(), lineHeight),
                          Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
    painter->restore();
}

QSize CaptionDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    // Every item takes its grid cell: the cell, not the caption, sets the size.
    if (const auto *view = qobject_cast<const QListView *>(option.widget); view && view->gridSize().isValid())
        return view->gridSize() - QSize(2, 2);
    return {88, 76};
}
