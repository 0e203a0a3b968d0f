// SPDX-License-Identifier: MIT
#include "CharacterMap.h"

#include "CharsetTable.h"
#include "CodePage.h"
#include "Desktop.h"
#include "FaceFont.h"
#include "IntConv.h"
#include "Prompter.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>

QString untilNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void setSymbolCaption(QWidget *label, const QString &caption)
{
    label->setProperty("caption", caption);
    // A caption shows "&&" as "&" and takes a lone "&" for an accelerator mark.
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    if (auto *l = qobject_cast<QLabel *>(label))
        l->setText(shown);
}

QString symbolCaption(const QWidget *label)
{
    return label->property("caption").toString();
}

CharacterMap::CharacterMap(Prompter &prompter, const CharacterMapControls &controls)
    : m_prompter(prompter)
    , m_controls(controls)
{
    m_controls.CharactersPreview->setProperty("tag", 0);
}

int CharacterMap::lastCode() const
{
    return m_controls.CharactersPreview->property("tag").toInt();
}

CharMapLayout CharacterMap::layout() const
{
    const QTableWidget *grid = m_controls.CharactersPreview;
    CharMapLayout l;
    l.columns = std::max(1, grid->columnCount());
    l.rows = std::max(1, grid->rowCount());
    return l;
}

QString CharacterMap::cellText(int column, int row) const
{
    const QTableWidgetItem *item = m_controls.CharactersPreview->item(row, column);
    return item ? item->text() : QString();
}

void CharacterMap::fillCells(const CharMapLayout &layout, int last, int charset)
{
    QTableWidget *grid = m_controls.CharactersPreview;
    const QSignalBlocker blocker(grid);
    grid->setUpdatesEnabled(false);
    grid->setColumnCount(layout.columns);
    grid->setRowCount(layout.rows);
    for (int code = 0; code < layout.cells(); ++code) {
        const QString text = code <= last ? CodePage::byteText(charset, static_cast<unsigned char>(code)) : QString();
        QTableWidgetItem *item = grid->item(layout.row(code), layout.column(code));
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(layout.row(code), layout.column(code), item);
        }
        item->setText(text);
    }
    grid->setUpdatesEnabled(true);
}

void CharacterMap::FillCharacterMap(int last, int charset)
{
    QTableWidget *grid = m_controls.CharactersPreview;
    last = std::clamp(last, 0, 255);
    const CharMapLayout l = CharMapLayout::forWidth(grid->width(), grid->horizontalHeader()->defaultSectionSize(), last);
    fillCells(l, last, charset);
    setFaceCharset(grid, charset);
    setFaceCharset(m_controls.SymbolPreview, charset);
    grid->setProperty("tag", last);
}

void CharacterMap::CharactersPreviewClick()
{
    QTableWidget *grid = m_controls.CharactersPreview;
    const int column = std::max(0, grid->currentColumn());
    const int row = std::max(0, grid->currentRow());
    const QString text = cellText(column, row);
    if (text == QLatin1String("&") && m_controls.SelectCharset->currentText() != QLatin1String("Symbol"))
        setSymbolCaption(m_controls.SymbolPreview, QStringLiteral("&&"));
    else
        setSymbolCaption(m_controls.SymbolPreview, untilNul(text));
    const int code = layout().code(column, row);
    m_controls.AsciiCode->setText(m_controls.AsciiDec->isChecked() ? QString::number(code) : QString::number(code, 16).toUpper());
    m_controls.OriginalLetter->setText(untilNul(text));
    Desktop::setClipboardText(untilNul(text));
}

void CharacterMap::Copy1Click()
{
    QTableWidget *grid = m_controls.CharactersPreview;
    Desktop::setClipboardText(untilNul(cellText(std::max(0, grid->currentColumn()), std::max(0, grid->currentRow()))));
}

void CharacterMap::CopyBuff1Click()
{
    QTableWidget *grid = m_controls.CharactersPreview;
    m_controls.CopyBuff->setText(m_controls.CopyBuff->text() + untilNul(cellText(std::max(0, grid->currentColumn()), std::max(0, grid->currentRow()))));
}

void CharacterMap::BuffToClipboard1Click()
{
    Desktop::setClipboardText(m_controls.CopyBuff->text());
}

void CharacterMap::CharPreview2Click()
{
    const bool checked = !m_controls.CharPreview2->isChecked();
    m_controls.CharPreview2->setChecked(checked);
    m_controls.BtnCharPreview->setChecked(checked);
    m_controls.SymbolGroup->setVisible(checked);
    FormResize();
}

void CharacterMap::FormResize()
{
    const int last = lastCode();
    if (last == 0)
        return;
    QTableWidget *grid = m_controls.CharactersPreview;
    // The code of the selected cell, from its place; a blank cell keeps its place's code, within
    // the map.
    const int remembered = std::min(layout().code(std::max(0, grid->currentColumn()), std::max(0, grid->currentRow())), last);
    FillCharacterMap(last, faceCharset(grid));
    const CharMapLayout l = layout();
    grid->setCurrentCell(l.row(remembered), l.column(remembered));
}

void CharacterMap::GoStartClick()
{
    const QString text = m_controls.GoTo->text();
    if (text.isEmpty()) {
        m_prompter.message(QStringLiteral("You've entered nothing"), MessageIcon::Error);
        return;
    }
    int code = -1;
    if (m_controls.GoToCode->isChecked()) {
        code = StrToInt(text);
    } else {
        const auto byte = CodePage::byteOf(faceCharset(m_controls.CharactersPreview), text[0]);
        code = byte ? *byte : (text[0].unicode() < 256 ? text[0].unicode() : -1);
    }
    const CharMapLayout l = layout();
    if (code >= 0 && code < l.cells()) {
        m_controls.CharactersPreview->setCurrentCell(l.row(code), l.column(code));
    } else {
        m_prompter.message(QStringLiteral("Unknown symbol"), MessageIcon::Error);
    }
}

void CharacterMap::GoTo1Click(GoToQuestion &question)
{
    const std::optional<GoToTarget> target = question.askGoTo();
    if (!target)
        return;
    m_controls.GoTo->setText(target->text);
    m_controls.GoToCode->setChecked(target->byCode);
    m_controls.GoToSymbol->setChecked(target->bySymbol);
    GoStartClick();
}

void CharacterMap::SelectCharsetChange()
{
    const int charset = CharsetCode(m_controls.SelectCharset->currentText());
    emit charsetChosen(charset);
    for (QWidget *control : {static_cast<QWidget *>(m_controls.CharactersPreview), static_cast<QWidget *>(m_controls.SymbolPreview),
                             static_cast<QWidget *>(m_controls.OriginalLetter), static_cast<QWidget *>(m_controls.CopyBuff)})
        setFaceCharset(control, charset);
    // The cells show the bytes in the new charset.
    const int last = lastCode();
    if (last != 0) {
        QTableWidget *grid = m_controls.CharactersPreview;
        const int column = grid->currentColumn(), row = grid->currentRow();
        fillCells(layout(), last, charset);
        grid->setCurrentCell(row, column);
    }
}
