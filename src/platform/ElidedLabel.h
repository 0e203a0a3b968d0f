// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

// A one-line label that cuts a text too long for it with "…" instead of clipping it, and asks
// for no more room than it is given: a long text never widens the window. text() stays whole.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // The text as it is drawn in the label's present width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
