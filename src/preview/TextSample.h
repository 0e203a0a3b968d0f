// SPDX-License-Identifier: MIT
#pragma once

#include "MainState.h"

#include <QObject>

#include <functional>

// The text sample view: load, clear, the clipboard, styles, colour, size, alignment, wrapping
// and the multilingual sample.
class TextSample : public QObject {
public:
    enum Style { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    TextSample(MainState &state, MainServices &services, MainControls &controls, std::function<void()> saveSettings);

    void LoadText1Click();
    void Clear1Click();
    void Cut1Click();
    void Copy2Click();
    void Paste1Click();
    // Inverts the item's check mark, mirrors it on the button and sets or clears the style on
    // the fonts of Preview, CharactersPreview and SymbolPreview.
    void toggleStyle(QAction *item, QAction *button, Style style);
    void ColorClick();
    void FontSizeChange(int size);
    void setAlignment(Qt::Alignment alignment);
    void setWrap(bool wrap);

    void setLines(const QStringList &lines);
    QStringList lines() const;
    void loadFile(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    std::function<void()> m_saveSettings;
};

// The colours of a view's text and background.
void setViewColors(QWidget *view, const QColor &text, const QColor &background);
