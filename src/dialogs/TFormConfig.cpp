// SPDX-License-Identifier: MIT
#include "TFormConfig.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "Icons.h"
#include "Prompter.h"
#include "TextFile.h"
#include "ViewColors.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {
const QString kOpenFilter = QStringLiteral("Тестовые файлы (*.txt)|*.txt|Все файлы|*.*");
const QString kSaveFilter = QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы|*.*");

template<typename T>
T *named(T *object, const char *name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QSpinBox *spin(QWidget *parent, const char *name, int minimum, int maximum, int value)
{
    auto *box = named(new QSpinBox(parent), name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

void paintSwatch(QFrame *swatch, const QColor &color)
{
    swatch->setStyleSheet(QStringLiteral("QFrame { background: %1; border: 1px solid gray; }").arg(color.name()));
    swatch->setProperty("color", color);
}
}

TFormConfig::TFormConfig(Prompter &prompter, ViewColors &colors, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_colors(colors)
{
    setObjectName(QStringLiteral("TFormConfig"));
    setWindowTitle(QStringLiteral("Options"));
    auto *layout = new QVBoxLayout(this);

    PageControlConfig = named(new QTabWidget(this), "PageControlConfig");
    PageControlConfig->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid palette(mid); border-radius: 3px; padding: 3px 10px; margin: 2px 2px 4px 0; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(midlight); border-color: palette(dark); }"));
    layout->addWidget(PageControlConfig);
    buildPreviewPage();
    buildCharactersPage();
    buildColors();
    layout->addWidget(Colors);

    auto *downPanel = named(new QWidget(this), "DownPanel");
    auto *downLayout = new QHBoxLayout(downPanel);
    downLayout->addStretch();
    OK = named(new QPushButton(QStringLiteral("OK"), downPanel), "OK");
    Cancel = named(new QPushButton(QStringLiteral("Cancel"), downPanel), "Cancel");
    OK->setDefault(true);
    downLayout->addWidget(OK);
    downLayout->addWidget(Cancel);
    layout->addWidget(downPanel);

    connect(OK, &QPushButton::clicked, this, [this] { done(ModalResult::Ok); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(ModalResult::Cancel); });
    connect(CellWidth, &QSpinBox::valueChanged, this, [this] { updateCellPreview(); });
    connect(CellHeight, &QSpinBox::valueChanged, this, [this] { updateCellPreview(); });
    connect(FontSize, &QSpinBox::valueChanged, this, [this] { updateCellPreview(); });
    // Errors of these handlers reach the application's handler, which shows them.
    connect(LoadText, &QPushButton::clicked, this, [this] { LoadTextClick(); });
    connect(SaveText, &QPushButton::clicked, this, [this] { SaveTextClick(); });
    connect(Clear, &QPushButton::clicked, this, [this] { ClearClick(); });
    connect(TextColorChange, &QPushButton::clicked, this, [this] { TextColorChangeClick(); });
    connect(BackgroundColorChange, &QPushButton::clicked, this, [this] { BackgroundColorChangeClick(); });
    updateCellPreview();
    showColors();
    setFixedSize(460, 420);
}

void TFormConfig::buildPreviewPage()
{
    TabSheetPreview = named(new QWidget(PageControlConfig), "TabSheetPreview");
    auto *previewLayout = new QGridLayout(TabSheetPreview);
    Label3 = named(new QLabel(QStringLiteral("Preview text:"), TabSheetPreview), "Label3");
    PrevText = named(new QPlainTextEdit(TabSheetPreview), "PrevText");
    PrevText->setLineWrapMode(QPlainTextEdit::NoWrap);
    PrevText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    WrapText = named(new QCheckBox(QStringLiteral("Wrap text"), TabSheetPreview), "WrapText");
    WrapText->setChecked(true);
    LoadText = named(new QPushButton(Icons::get(QStringLiteral("loadtext")), QStringLiteral("Load..."), TabSheetPreview), "LoadText");
    LoadText->setToolTip(QStringLiteral("Load preview text from file"));
    SaveText = named(new QPushButton(Icons::get(QStringLiteral("copy")), QStringLiteral("Save   "), TabSheetPreview), "SaveText");
    SaveText->setToolTip(QStringLiteral("Save preview text to file"));
    Clear = named(new QPushButton(QStringLiteral("Clear"), TabSheetPreview), "Clear");
    Clear->setToolTip(QStringLiteral("Clear preview text"));
    previewLayout->addWidget(Label3, 0, 0, 1, 2);
    previewLayout->addWidget(PrevText, 1, 0, 4, 1);
    previewLayout->addWidget(LoadText, 1, 1);
    previewLayout->addWidget(SaveText, 2, 1);
    previewLayout->addWidget(Clear, 3, 1);
    previewLayout->addWidget(WrapText, 5, 0, 1, 2);
    PageControlConfig->addTab(TabSheetPreview, QStringLiteral("Preview"));
}

void TFormConfig::buildCharactersPage()
{
    TabSheetCharacters = named(new QWidget(PageControlConfig), "TabSheetCharacters");
    auto *mapLayout = new QGridLayout(TabSheetCharacters);
    ShowCharPreview = named(new QCheckBox(QStringLiteral("Extended symbol preview"), TabSheetCharacters), "ShowCharPreview");
    ShowCharPreview->setChecked(true);
    mapLayout->addWidget(ShowCharPreview, 0, 0, 1, 2);
    CharPrevOpt = named(new QGroupBox(QStringLiteral("Cell"), TabSheetCharacters), "CharPrevOpt");
    auto *cellLayout = new QGridLayout(CharPrevOpt);
    CellWidth = spin(CharPrevOpt, "CellWidth", 1, 47, 20);
    CellHeight = spin(CharPrevOpt, "CellHeight", 1, 77, 30);
    FontSize = spin(CharPrevOpt, "FontSize", 0, 40, 10);
    cellLayout->addWidget(named(new QLabel(QStringLiteral("Cell width"), CharPrevOpt), "Label7"), 0, 0);
    cellLayout->addWidget(CellWidth, 0, 1);
    cellLayout->addWidget(named(new QLabel(QStringLiteral("Cell height:"), CharPrevOpt), "Label6"), 1, 0);
    cellLayout->addWidget(CellHeight, 1, 1);
    cellLayout->addWidget(named(new QLabel(QStringLiteral("Font size:"), CharPrevOpt), "Label8"), 2, 0);
    cellLayout->addWidget(FontSize, 2, 1);
    GroupCellPreview = named(new QGroupBox(CharPrevOpt), "GroupCellPreview");
    GroupCellPreview->setFixedSize(90, 100);
    CellPreview = named(new QLabel(QStringLiteral("A"), GroupCellPreview), "CellPreview");
    CellPreview->setAlignment(Qt::AlignCenter);
    CellPreview->setStyleSheet(QStringLiteral("QLabel { background: white; color: black; border: 1px solid gray; }"));
    CellPreview->move(10, 10);
    cellLayout->addWidget(GroupCellPreview, 0, 2, 3, 1);
    mapLayout->addWidget(CharPrevOpt, 1, 0, 1, 2);
    mapLayout->setRowStretch(2, 1);
    PageControlConfig->addTab(TabSheetCharacters, QStringLiteral("Character map"));
}

void TFormConfig::buildColors()
{
    Colors = named(new QGroupBox(QStringLiteral("Colors"), this), "Colors");
    auto *colorLayout = new QGridLayout(Colors);
    auto swatch = [this](const char *name) {
        auto *frame = named(new QFrame(Colors), name);
        frame->setFixedSize(40, 18);
        return frame;
    };
    auto dots = [this](const char *name) {
        auto *button = named(new QPushButton(QStringLiteral("..."), Colors), name);
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
        button->setFixedWidth(28);
        return button;
    };
    TextColorPreview = swatch("TextColorPreview");
    TextColorChange = dots("TextColorChange");
    BackgroundColorPreview = swatch("BackgroundColorPreview");
    BackgroundColorChange = dots("BackgroundColorChange");
    colorLayout->addWidget(named(new QLabel(QStringLiteral("Text color:"), Colors), "Label1"), 0, 0);
    colorLayout->addWidget(TextColorPreview, 0, 1);
    colorLayout->addWidget(TextColorChange, 0, 2);
    colorLayout->addWidget(named(new QLabel(QStringLiteral("Background color:"), Colors), "Label2"), 1, 0);
    colorLayout->addWidget(BackgroundColorPreview, 1, 1);
    colorLayout->addWidget(BackgroundColorChange, 1, 2);
    SampleText = named(new QLabel(QStringLiteral("Sample Text"), Colors), "SampleText");
    SampleText->setAlignment(Qt::AlignCenter);
    SampleText->setMinimumWidth(120);
    SampleText->setAutoFillBackground(true);
    colorLayout->addWidget(SampleText, 0, 3, 2, 1);
}

void TFormConfig::updateCellPreview()
{
    CellPreview->setFixedSize(CellWidth->value(), CellHeight->value());
    QFont font = CellPreview->font();
    // A size of 0 points is allowed; the box then shows the smallest text.
    font.setPointSize(std::max(1, FontSize->value()));
    CellPreview->setFont(font);
    CellPreview->setProperty("fontSize", FontSize->value());
}

void TFormConfig::showColors()
{
    paintSwatch(TextColorPreview, m_colors.TextColor);
    paintSwatch(BackgroundColorPreview, m_colors.BackgroundColor);
    QPalette palette = SampleText->palette();
    palette.setColor(QPalette::WindowText, m_colors.TextColor);
    palette.setColor(QPalette::Window, m_colors.BackgroundColor);
    SampleText->setPalette(palette);
}

QStringList TFormConfig::previewLines() const
{
    QStringList lines;
    if (PrevText->document()->isEmpty())
        return lines;
    for (QTextBlock block = PrevText->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TFormConfig::setPreviewLines(const QStringList &lines)
{
    PrevText->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFormConfig::LoadTextClick()
{
    const auto path = m_prompter.openFile(kOpenFilter, QString());
    if (!path)
        return;
    setPreviewLines(readTextFileLines(*path));
}

void TFormConfig::SaveTextClick()
{
    const auto path = m_prompter.saveFile(kSaveFilter, QStringLiteral("txt"));
    if (!path)
        return;
    QString text;
    for (const QString &line : previewLines())
        text += line + QStringLiteral("\r\n");
    if (!writeFileAtomically(*path, text.toUtf8()))
        throw AppError::withArg(messages::CannotCreateFile, *path);
}

void TFormConfig::ClearClick()
{
    PrevText->clear();
}

void TFormConfig::TextColorChangeClick()
{
    if (const auto color = m_prompter.chooseColor(m_colors.TextColor)) {
        m_colors.TextColor = *color;
        showColors();
    }
}

void TFormConfig::BackgroundColorChangeClick()
{
    if (const auto color = m_prompter.chooseColor(m_colors.BackgroundColor)) {
        m_colors.BackgroundColor = *color;
        showColors();
    }
}
