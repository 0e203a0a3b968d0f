// SPDX-License-Identifier: MIT
#include "TextSample.h"

#include "Prompter.h"
#include "SampleTexts.h"
#include "TextFile.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
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

void setViewColors(QWidget *view, const QColor &text, const QColor &background)
{
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, background);
    view->setPalette(palette);
}

TextSample::TextSample(MainState &state, MainServices &services, MainControls &controls, std::function<void()> saveSettings)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
    , m_saveSettings(std::move(saveSettings))
{
    m_controls.Preview->installEventFilter(this);
    setLines(designTimeSampleText());
    setWrap(false);
}

void TextSample::setLines(const QStringList &lines)
{
    m_controls.Preview->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList TextSample::lines() const
{
    QStringList out;
    const QTextDocument *document = m_controls.Preview->document();
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
    const auto path = m_services.prompter.openFile(kTextFilter, QString());
    if (path)
        loadFile(*path);
}

void TextSample::Clear1Click()
{
    m_controls.Preview->clear();
}

void TextSample::Cut1Click()
{
    m_controls.Preview->cut();
}

void TextSample::Copy2Click()
{
    m_controls.Preview->copy();
}

void TextSample::Paste1Click()
{
    m_controls.Preview->paste();
}

void TextSample::toggleStyle(QAction *item, QAction *button, Style style)
{
    item->setChecked(!item->isChecked());
    const bool on = item->isChecked();
    if (button)
        button->setChecked(on);
    for (QWidget *control : {static_cast<QWidget *>(m_controls.Preview), static_cast<QWidget *>(m_controls.CharactersPreview),
                             static_cast<QWidget *>(m_controls.SymbolPreview)})
        applyStyle(control, style, on);
}

void TextSample::ColorClick()
{
    const auto color = m_services.prompter.chooseColor(m_state.TextColor);
    if (!color)
        return;
    m_state.TextColor = *color;
    setViewColors(m_controls.Preview, m_state.TextColor, m_state.BackgroundColor);
    setViewColors(m_controls.CharactersPreview, m_state.TextColor, m_state.BackgroundColor);
    if (m_saveSettings)
        m_saveSettings();
}

void TextSample::FontSizeChange(int size)
{
    QFont font = m_controls.Preview->font();
    font.setPointSize(std::clamp(size, 1, 75));
    m_controls.Preview->setFont(font);
}

void TextSample::setAlignment(Qt::Alignment alignment)
{
    QTextOption option = m_controls.Preview->document()->defaultTextOption();
    option.setAlignment(alignment);
    m_controls.Preview->document()->setDefaultTextOption(option);
    m_controls.Preview->setProperty("alignment", static_cast<int>(alignment));
}

void TextSample::setWrap(bool wrap)
{
    m_controls.Preview->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_controls.Preview->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    m_controls.Preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

bool TextSample::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.Preview && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QTextBlock first = m_controls.Preview->document()->firstBlock();
        if (producesCharacter(key) && first.text() == QLatin1String("test")) {
            m_controls.Preview->setPlainText(multilingualSampleText());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
