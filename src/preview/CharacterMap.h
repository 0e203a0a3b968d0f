// SPDX-License-Identifier: MIT
#pragma once

#include "CharMapLayout.h"

#include <QObject>

#include <optional>

class Prompter;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

// Where "&Go to..." goes: the text and which radio button of the dialog was checked.
struct GoToTarget {
    QString text;
    bool byCode = true;
    bool bySymbol = false;
};

// Asks where to go (the Go To dialog); nothing when the user cancels.
class GoToQuestion {
public:
    virtual ~GoToQuestion() = default;
    virtual std::optional<GoToTarget> askGoTo() = 0;
};

// The controls the character map works on.
struct CharacterMapControls {
    QTableWidget *CharactersPreview = nullptr;
    QGroupBox *SymbolGroup = nullptr;
    QLabel *SymbolPreview = nullptr;
    QRadioButton *AsciiDec = nullptr;
    QRadioButton *AcsiiHex = nullptr;
    QLineEdit *AsciiCode = nullptr;
    QLineEdit *OriginalLetter = nullptr;
    QLineEdit *GoTo = nullptr;
    QRadioButton *GoToCode = nullptr;
    QRadioButton *GoToSymbol = nullptr;
    QComboBox *SelectCharset = nullptr;
    QLineEdit *CopyBuff = nullptr;
    QAction *CharPreview2 = nullptr;
    QAction *BtnCharPreview = nullptr;
};

// The character map: the grid of codes in the chosen charset, the symbol panel, the character
// buffer, the charset chooser and go-to.
class CharacterMap : public QObject {
    Q_OBJECT
public:
    CharacterMap(Prompter &prompter, const CharacterMapControls &controls);

    void FillCharacterMap(int lastCode, int charset);
    void CharactersPreviewClick();
    void Copy1Click();
    void CopyBuff1Click();
    void BuffToClipboard1Click();
    void CharPreview2Click();
    void FormResize();
    void GoStartClick();
    void GoTo1Click(GoToQuestion &question);
    void SelectCharsetChange();

    // The map's last code (the grid's tag): 0 before any map is built.
    int lastCode() const;
    CharMapLayout layout() const;
    // The text of a cell; a cell past the last code is empty.
    QString cellText(int column, int row) const;

signals:
    // The charset box chose a charset; the text sample follows it.
    void charsetChosen(int charset);

private:
    void fillCells(const CharMapLayout &layout, int lastCode, int charset);

    Prompter &m_prompter;
    CharacterMapControls m_controls;
};

// The caption of the large symbol: shown as a label shows its caption ("&&" shows one "&").
void setSymbolCaption(QWidget *label, const QString &caption);
QString symbolCaption(const QWidget *label);
// A text up to its first NUL character, as a C string sees it.
QString untilNul(const QString &text);
