// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

// Large-icon captions: the text wraps over the lines under the icon, breaking inside a word when
// it must, and a text longer than those lines is cut where the list's elide mode says (the
// middle keeps a file's extension, the left keeps the end of an archive entry's name).
class CaptionDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The lines a caption is drawn in, in a text area of the given width and line count.
    static QStringList shownLines(const QString &text, const QFontMetrics &metrics, int width, int maxLines, Qt::TextElideMode mode);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The caption's lines for an item drawn in the given rectangle, as paint draws them.
    QStringList linesFor(const QStyleOptionViewItem &option, const QModelIndex &index) const;

private:
    static QRect textRect(const QStyleOptionViewItem &option);
};
