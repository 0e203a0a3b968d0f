// SPDX-License-Identifier: MIT
#include "TextSample.h"

#include "Prompter.h"
#include "SampleTexts.h"
#include "TextFile.h"
#include "ViewColors.h"

#include <QAction>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {
const QString kTextFilter = QStringLiteral("Тестовые файлы (*.txt)|*.txt|Все файлы|*.*");

void applyStyle(QWidget *control, TextSample::Style style, bool on)
{
    QFont font = control->font();
    switch (style) {
    case TextSample::Bold: font.setBold(on); break;
    case TextSample::Italic: font.setItalic(on); break;
    case TextSample::Underline: font.setUnderline(on); break;
    case TextSample::StrikeOut: font.setStrikeOut(on); break;
    }
    control->setFont(font);
}

// Keys that produce a character: text, Enter, Backspace, Delete and the like.
bool producesCharacter(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
        return true;
    default:
        break;
    }
    return !key->text().isEmpty() && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
}
}

TextSample::TextSample(Prompter &prompter, ViewColors &colors, QPlainTextEdit &preview, QWidget &charactersPreview,
                       QWidget &symbolPreview)
    : m_prompter(prompter)
    , m_colors(colors)
    , m_preview(preview)
    , m_charactersPreview(charactersPreview)
    , m_symbolPreview(symbolPreview)
{
    m_preview.installEventFilter(this);
    setLines(designTimeSampleText());
    setWrap(false);
}

void TextSample::setLines(const QStringList &lines)
{
    m_preview.setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList TextSample::lines() const
{
    QStringList out;
    const QTextDocument *document = m_preview.document();
    if (document->isEmpty())
        return out;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        out << block.text();
    return out;
}

void TextSample::loadFile(const QString &path)
{
    setLines(readTextFileLines(path));
}

void TextSample::LoadText1Click()
{
    const auto path = m_prompter.openFile(kTextFilter, QString());
    if (path)
        loadFile(*path);
}

void TextSample::Clear1Click()
{
    m_preview.clear();
}

void TextSample::Cut1Click()
{
    m_preview.cut();
}

void TextSample::Copy2Click()
{
    m_preview.copy();
}

void TextSample::Paste1Click()
{
    m_preview.paste();
}

void TextSample::toggleStyle(QAction *item, QAction *button, Style style)
{
    item->setChecked(!item->isChecked());
    const bool on = item->isChecked();
    if (button)
        button->setChecked(on);
    for (QWidget *control : {static_cast<QWidget *>(&m_preview), &m_charactersPreview, &m_symbolPreview})
        applyStyle(control, style, on);
}

void TextSample::ColorClick()
{
    const auto color = m_prompter.chooseColor(m_colors.TextColor);
    if (!color)
        return;
    m_colors.TextColor = *color;
    showColors();
    emit colorChosen();
}

void TextSample::showColors()
{
    setViewColors(&m_preview, m_colors);
    setViewColors(&m_charactersPreview, m_colors);
}

void TextSample::FontSizeChange(int size)
{
    QFont font = m_preview.font();
    font.setPointSize(std::clamp(size, 1, 75));
    m_preview.setFont(font);
}

void TextSample::setAlignment(Qt::Alignment alignment)
{
    QTextOption option = m_preview.document()->defaultTextOption();
    option.setAlignment(alignment);
    m_preview.document()->setDefaultTextOption(option);
    m_preview.setProperty("alignment", static_cast<int>(alignment));
}

void TextSample::setWrap(bool wrap)
{
    m_preview.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_preview.setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_preview.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

bool TextSample::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_preview && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QTextBlock first = m_preview.document()->firstBlock();
        if (producesCharacter(key) && first.text() == QLatin1String("test")) {
            m_preview.setPlainText(multilingualSampleText());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
