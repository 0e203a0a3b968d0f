// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class Prompter;
class QAction;
class QPlainTextEdit;
struct ViewColors;

// The text sample view (Preview): load, clear, the clipboard, styles, colour, size, alignment,
// wrapping and the multilingual sample.
class TextSample : public QObject {
    Q_OBJECT
public:
    enum Style { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    // Styles and the text colour also go to the character map's grid and its large symbol.
    TextSample(Prompter &prompter, ViewColors &colors, QPlainTextEdit &preview, QWidget &charactersPreview, QWidget &symbolPreview);

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
    // Paints the sample and the character map in the colours.
    void showColors();

    void setLines(const QStringList &lines);
    QStringList lines() const;
    void loadFile(const QString &path);

signals:
    // The user chose a new text colour.
    void colorChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Prompter &m_prompter;
    ViewColors &m_colors;
    QPlainTextEdit &m_preview;
    QWidget &m_charactersPreview;
    QWidget &m_symbolPreview;
};
