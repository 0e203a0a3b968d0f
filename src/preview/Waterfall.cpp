// SPDX-License-Identifier: MIT
#include "Waterfall.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {
constexpr int kLabelWidth = 52;
constexpr int kGap = 6;
}

Waterfall::Waterfall(QPlainTextEdit &sample, QWidget *parent)
    : QWidget(parent)
    , m_sample(sample)
{
    setObjectName(QStringLiteral("Waterfall"));
    setAutoFillBackground(true);
    m_sample.installEventFilter(this);
    connect(&m_sample, &QPlainTextEdit::textChanged, this, [this] {
        updateGeometry();
        update();
    });
}

QString Waterfall::sampleLine() const
{
    // The first line with something on it; trailing blanks are not drawn anyway.
    for (QTextBlock block = m_sample.document()->firstBlock(); block.isValid(); block = block.next())
        if (!block.text().trimmed().isEmpty())
            return block.text().trimmed();
    return QString();
}

std::vector<Waterfall::Line> Waterfall::lines() const
{
    std::vector<Line> lines;
    const QString text = sampleLine();
    int top = kGap;
    for (const int size : kSizes) {
        Line line;
        line.label = QStringLiteral("%1 pt").arg(size);
        line.font = m_sample.font();
        line.font.setPointSize(size);
        line.text = text;
        line.top = top;
        line.height = QFontMetrics(line.font).height();
        top += line.height + kGap;
        lines.push_back(line);
    }
    return lines;
}

QSize Waterfall::sizeHint() const
{
    const std::vector<Line> all = lines();
    return QSize(400, all.back().top + all.back().height + kGap);
}

void Waterfall::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette sample = m_sample.palette();
    painter.fillRect(rect(), sample.color(QPalette::Base));
    const QFont labelFont = font();
    for (const Line &line : lines()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.setFont(labelFont);
        painter.drawText(QRect(4, line.top, kLabelWidth - 8, line.height), Qt::AlignRight | Qt::AlignVCenter, line.label);
        painter.setPen(sample.color(QPalette::Text));
        painter.setFont(line.font);
        painter.drawText(QRect(kLabelWidth, line.top, std::max(0, width() - kLabelWidth), line.height), Qt::AlignLeft | Qt::AlignVCenter,
                         line.text);
    }
}

bool Waterfall::eventFilter(QObject *watched, QEvent *event)
{
    // The sample's face, styles and colours are the waterfall's.
    if (watched == &m_sample && (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)) {
        updateGeometry();
        update();
    }
    return QWidget::eventFilter(watched, event);
}
