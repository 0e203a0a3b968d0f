// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The index of the first tip: 0 for one tip, else a non-negative random number modulo
// count - 1 (so the last tip is reached only with Next Tip).
int firstTipIndex(int count, unsigned random);
// The next index: after count - 1 comes 0; a count below 1 never wraps.
int nextTipIndex(int current, int count);

// "Tip of the Day".
class TFormTip : public QDialog {
    Q_OBJECT
public:
    explicit TFormTip(QWidget *parent = nullptr);

    // Puts a tip in TipText, its index in the label's tag, and TipText back at its design bounds.
    void showTip(int index, const QString &text);
    int tipIndex() const;

    QLabel *Label1;
    QLabel *TipText;
    QCheckBox *ShowStartupTips;
    QPushButton *NextTip;
    QPushButton *Close;

signals:
    void nextTipRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
};
