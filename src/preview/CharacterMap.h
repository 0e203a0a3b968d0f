// SPDX-License-Identifier: MIT
#pragma once

#include "CharMapLayout.h"
#include "MainState.h"

#include <QObject>

class TFormGoTo;

// The character map: the grid of codes in the chosen charset, the symbol panel, the character
// buffer, the charset chooser and go-to.
class CharacterMap : public QObject {
public:
    CharacterMap(MainState &state, MainServices &services, MainControls &controls);

    void FillCharacterMap(int lastCode, int charset);
    void CharactersPreviewClick();
    void Copy1Click();
    void CopyBuff1Click();
    void BuffToClipboard1Click();
    void CharPreview2Click();
    void FormResize();
    void GoStartClick();
    void GoTo1Click(TFormGoTo &dialog);
    void SelectCharsetChange();

    // The map's last code (the grid's tag): 0 before any map is built.
    int lastCode() const;
    CharMapLayout layout() const;
    // The text of a cell; a cell past the last code is empty.
    QString cellText(int column, int row) const;

private:
    void fillCells(const CharMapLayout &layout, int lastCode, int charset);

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
};

// The caption of the large symbol: shown as a label shows its caption ("&&" shows one "&").
void setSymbolCaption(QWidget *label, const QString &caption);
QString symbolCaption(const QWidget *label);
// A text up to its first NUL character, as a C string sees it.
QString untilNul(const QString &text);
