// SPDX-License-Identifier: MIT
#include "TFormTip.h"

#include "Prompter.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {
const QRect kTipTextBounds(40, 80, 265, 160);
}

int firstTipIndex(int count, unsigned random)
{
    if (count == 1)
        return 0;
    const long long divisor = static_cast<long long>(count) - 1;
    // With no tips at all the division is by -1, which leaves 0.
    return static_cast<int>(static_cast<long long>(random & 0x7FFFFFFF) % divisor);
}

int nextTipIndex(int current, int count)
{
    if (current == count - 1)
        current = -1;
    return current + 1;
}

TFormTip::TFormTip(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setFixedSize(400, 300);

    Label1 = new QLabel(QStringLiteral("Tip of the day..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPixelSize(13);
    Label1->setFont(heading);
    Label1->setGeometry(56, 20, 250, 24);

    TipText = new QLabel(QStringLiteral("Tip text"), this);
    TipText->setObjectName(QStringLiteral("TipText"));
    TipText->setWordWrap(true);
    TipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont tipFont = TipText->font();
    tipFont.setPixelSize(16);
    TipText->setFont(tipFont);
    TipText->setGeometry(kTipTextBounds);

    ShowStartupTips = new QCheckBox(QStringLiteral("Show tips on startup"), this);
    ShowStartupTips->setObjectName(QStringLiteral("ShowStartupTips"));
    ShowStartupTips->setChecked(true);
    ShowStartupTips->setGeometry(16, 262, 180, 24);

    NextTip = new QPushButton(QStringLiteral("Next Tip"), this);
    NextTip->setObjectName(QStringLiteral("NextTip"));
    NextTip->setGeometry(210, 260, 86, 28);
    Close = new QPushButton(QStringLiteral("Close"), this);
    Close->setObjectName(QStringLiteral("Close"));
    Close->setGeometry(304, 260, 86, 28);
    Close->setDefault(true);

    connect(NextTip, &QPushButton::clicked, this, &TFormTip::nextTipRequested);
    connect(Close, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
}

void TFormTip::showTip(int index, const QString &text)
{
    TipText->setGeometry(kTipTextBounds);
    TipText->setText(text);
    TipText->setProperty("tag", index);
}

int TFormTip::tipIndex() const
{
    return TipText->property("tag").toInt();
}

void TFormTip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // TipsBack: the white area with a thin frame behind the tip.
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 8.5, width() - 17, 240));
    // Image1: a light bulb.
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(255, 225, 90));
    p.drawEllipse(QRectF(16, 14, 22, 22));
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(22, 36, 10, 8));
    // Shape1: the line under the heading.
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(16, 52.5), QPointF(width() - 16, 52.5));
}
