// SPDX-License-Identifier: MIT
#include "ReportView.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "CharacterMap.h"
#include "CharsetTable.h"
#include "FaceFont.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "IntConv.h"
#include "ListView.h"
#include "NameTableReader.h"
#include "Prompter.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>

#include <unistd.h>

namespace {
constexpr int kReportPointSize = 13;   // 17 pixels at 96 dots per inch
const QString kRtfFilter = QStringLiteral("Rich Text Forma (*.rtf)|*.rtf|All files|*.*");
}

ReportView::ReportView(MainState &state, MainServices &services, MainControls &controls, InstalledFontsList &installed,
                       CharacterMap &characterMap)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
    , m_installed(installed)
    , m_characterMap(characterMap)
{
    QTextEdit *pane = m_controls.ReportEdit;
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(kReportPointSize);
    pane->setFont(font);
    setFaceCharset(pane, 204);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_popup = new QMenu(pane);
    m_popup->setObjectName(QStringLiteral("PopupReport"));
    QAction *copy = m_popup->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("Copy3"));
    copy->setStatusTip(QStringLiteral("Copy to clipboard"));
    m_popup->addSeparator();
    QAction *all = m_popup->addAction(QStringLiteral("Select All"));
    all->setObjectName(QStringLiteral("SelectAll"));
    all->setStatusTip(QStringLiteral("Select all report text"));
    connect(copy, &QAction::triggered, this, [this] { Copy3Click(); });
    connect(all, &QAction::triggered, this, [this] { SelectAllClick(); });
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupReportPopup();
        m_popup->popup(m_controls.ReportEdit->viewport()->mapToGlobal(at));
    });
}

void ReportView::clear()
{
    m_lines.clear();
    m_controls.ReportEdit->clear();
}

void ReportView::append(const std::vector<ReportLine> &lines)
{
    QTextEdit *pane = m_controls.ReportEdit;
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    for (const ReportLine &line : lines) {
        QTextCharFormat format;
        QFont font = pane->font();
        switch (line.kind) {
        case ReportLineKind::Heading:
            format.setForeground(QColor(128, 0, 0));
            font.setPointSize(kReportPointSize + 2);
            font.setBold(true);
            break;
        case ReportLineKind::Label:
            format.setForeground(QColor(0, 0, 128));
            font.setBold(true);
            break;
        case ReportLineKind::Value:
            format.setForeground(Qt::black);
            break;
        }
        format.setFont(font);
        if (!pane->document()->isEmpty() || !m_lines.empty())
            cursor.insertBlock();
        cursor.insertText(line.text, format);
        m_lines.push_back(line);
    }
}

void ReportView::AppendHeading(const QString &text)
{
    std::vector<ReportLine> lines;
    appendHeading(lines, text);
    append(lines);
}

void ReportView::AppendLabel(const QString &text)
{
    std::vector<ReportLine> lines;
    appendLabel(lines, text);
    append(lines);
}

void ReportView::AppendValue(const QString &text)
{
    std::vector<ReportLine> lines;
    appendValue(lines, text);
    append(lines);
}

void ReportView::FontsListSelectItem(int row, bool selected)
{
    if (!m_state.FontsListReady || row < 0 || !selected)
        return;
    const ListView::Item item = m_controls.FontsList->item(row);
    const QStringList &cells = item.subItems;
    using namespace FontsListColumn;

    setFaceName(m_controls.Preview, item.caption, m_services.catalogue);
    setFaceCharset(m_controls.Preview, m_installed.CharsetCodeOfSelection(row));
    for (QWidget *control : {static_cast<QWidget *>(m_controls.CharactersPreview), static_cast<QWidget *>(m_controls.SymbolPreview),
                             static_cast<QWidget *>(m_controls.CopyBuff)})
        setFaceName(control, item.caption, m_services.catalogue);
    m_characterMap.FillCharacterMap(StrToInt(cells.value(Characters)), CharsetCode(cells.value(Charset)));
    QStringList charsets;
    CharsetNamesFromList(&charsets, cells.value(Charsets), QLatin1Char(';'));
    m_controls.SelectCharset->clear();
    m_controls.SelectCharset->addItems(charsets);
    m_controls.SelectCharset->setCurrentIndex(0);
    m_characterMap.CharactersPreviewClick();
    m_controls.StatusPanels[1]->setText(cells.value(FileName));
    m_controls.StatusPanels[2]->setText(QStringLiteral("Installed"));
    m_controls.StatusPanels[3]->setText(item.caption);
    clear();
    if (item.image != 3 && m_controls.TabsPreviewModes->currentIndex() == 2) {
        m_controls.ReportEdit->hide();
        // The names come straight from the font's file: in the fonts folder, or where the list says.
        std::array<QString, 21> names;
        const QString file = cells.value(FileName);
        if (file != QLatin1String("Unknown") && !file.isEmpty()) {
            const QString path = file.contains(QLatin1Char('/')) ? file : m_state.SystemFontsFolder + file;
            CurrentFontRecord record;
            if (ReadTrueTypeNames(record, path))
                names = record.FontNames;
            if (record.FontFileHandle > 0)
                ::close(record.FontFileHandle);
        }
        QStringList charsetItems;
        for (int i = 0; i < m_controls.SelectCharset->count(); ++i)
            charsetItems << m_controls.SelectCharset->itemText(i);
        append(installedFontReport(item.caption, cells, names, charsetItems));
    }
    m_controls.ReportEdit->show();
}

void ReportView::WriteFontFileReport(const QString &faceName, const QString &path)
{
    append(fontFileReport(faceName, path, m_state.CurrentFont.FontNames));
}

void ReportView::SaveAs1Click()
{
    const auto path = m_services.prompter.saveFile(kRtfFilter, QStringLiteral("rtf"));
    if (!path)
        return;
    if (!writeFileAtomically(*path, reportToRtf(m_lines, kReportPointSize)))
        throw AppError::withArg(messages::CannotCreateFile, *path);
}

void ReportView::PopupReportPopup()
{
    m_popup->findChild<QAction *>(QStringLiteral("Copy3"))->setEnabled(m_controls.ReportEdit->textCursor().hasSelection());
}

void ReportView::Copy3Click()
{
    m_controls.ReportEdit->copy();
}

void ReportView::SelectAllClick()
{
    m_controls.ReportEdit->selectAll();
}
