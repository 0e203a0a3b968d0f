// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <array>

class QPlainTextEdit;

// The sample's first line at a series of sizes, each labelled with its size, in the sample's
// face and styles. It follows the sample view: its text and its font.
class Waterfall : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<int, 9> kSizes = {8, 10, 12, 14, 18, 24, 36, 48, 72};

    explicit Waterfall(QPlainTextEdit &sample, QWidget *parent = nullptr);

    struct Line {
        QString label;   // "12 pt"
        QFont font;      // the sample's font at the size
        QString text;
        int top = 0;     // where the line's box starts, in pixels
        int height = 0;
    };
    // The lines as they are drawn.
    std::vector<Line> lines() const;
    QString sampleLine() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit &m_sample;
};
