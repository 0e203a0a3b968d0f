// SPDX-License-Identifier: MIT
#include "TFormAbout.h"

#include "Desktop.h"
#include "Prompter.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace {
QLabel *link(TFormAbout *parent, const QString &name, const QString &text, const QString &url)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setText(QStringLiteral("<a href=\"%1\" style=\"color:#a8c0ff;\">%2</a>").arg(url.toHtmlEscaped(), text.toHtmlEscaped()));
    label->setCursor(Qt::PointingHandCursor);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, parent, [parent](const QString &target) {
        if (!Desktop::open(QUrl(target)))
            emit parent->openFailed(QUrl(target));
    });
    return label;
}
}

TFormAbout::TFormAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormAbout"));
    setWindowTitle(QStringLiteral("About Glyvanta ver. 2.4"));
    setFixedSize(420, 280);

    QFont bold = font();
    bold.setBold(true);
    Label1 = new QLabel(QStringLiteral("WebSite:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(bold);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label1->setGeometry(24, 190, 70, 20);
    Website = link(this, QStringLiteral("Website"), QStringLiteral("glyvanta.example.org"), AboutLinks::Website);
    Website->setGeometry(100, 190, 220, 20);
    Label2 = new QLabel(QStringLiteral("E-Mail:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(bold);
    Label2->setStyleSheet(QStringLiteral("color: white;"));
    Label2->setGeometry(24, 214, 70, 20);
    EMail = link(this, QStringLiteral("EMail"), QStringLiteral("support@glyvanta.example.org"), AboutLinks::Mail);
    EMail->setGeometry(100, 214, 220, 20);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setFlat(true);
    BtnOK->setFont(bold);
    BtnOK->setStyleSheet(QStringLiteral("QPushButton { color: white; border: 1px solid white; border-radius: 3px; background: transparent; }"
                                        "QPushButton:hover { background: rgba(255,255,255,40); }"));
    BtnOK->setGeometry(330, 236, 70, 26);
    connect(BtnOK, &QPushButton::clicked, this, [this] { done(ModalResult::Ok); });
}

void TFormAbout::paintEvent(QPaintEvent *)
{
    // ImageAbout: the program's artwork over the whole window.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, width(), height());
    sky.setColorAt(0, QColor(24, 40, 96));
    sky.setColorAt(1, QColor(96, 24, 80));
    p.fillRect(rect(), sky);
    const char *glyphs[] = {"A", "g", "Ж", "&", "ß", "Ω", "ã", "R"};
    QFont glyphFont(QStringLiteral("DejaVu Serif"));
    for (int i = 0; i < 8; ++i) {
        glyphFont.setPixelSize(30 + (i * 17) % 60);
        glyphFont.setItalic(i % 3 == 0);
        p.setFont(glyphFont);
        p.setPen(QColor(255, 255, 255, 28 + (i * 23) % 50));
        p.drawText(QPointF(20 + i * 50, 60 + (i * 37) % 110), QString::fromUtf8(glyphs[i]));
    }
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(24, 60, width() - 48, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Glyvanta"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(14);
    p.setFont(subtitle);
    p.setPen(QColor(220, 225, 255));
    p.drawText(QRectF(26, 108, width() - 48, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Font viewer and font manager, version 2.4"));
}
