// SPDX-License-Identifier: MIT
#include "ReportView.h"

#include "AppError.h"
#include "AtomicFile.h"
#include "FaceFont.h"
#include "Prompter.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>
#include <QTextEdit>

namespace {
constexpr int kReportPointSize = 13;   // 17 pixels at 96 dots per inch
const QString kRtfFilter = QStringLiteral("Rich Text Forma (*.rtf)|*.rtf|All files|*.*");
}

ReportView::ReportView(Prompter &prompter, QTextEdit &pane)
    : m_prompter(prompter)
    , m_pane(pane)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(kReportPointSize);
    m_pane.setFont(font);
    setFaceCharset(&m_pane, 204);
    m_pane.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_popup = new QMenu(&m_pane);
    m_popup->setObjectName(QStringLiteral("PopupReport"));
    m_copy3 = m_popup->addAction(QStringLiteral("&Copy"));
    m_copy3->setObjectName(QStringLiteral("Copy3"));
    m_copy3->setStatusTip(QStringLiteral("Copy to clipboard"));
    m_popup->addSeparator();
    QAction *all = m_popup->addAction(QStringLiteral("Select All"));
    all->setObjectName(QStringLiteral("SelectAll"));
    all->setStatusTip(QStringLiteral("Select all report text"));
    connect(m_copy3, &QAction::triggered, this, [this] { Copy3Click(); });
    connect(all, &QAction::triggered, this, [this] { SelectAllClick(); });
    m_pane.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_pane, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupReportPopup();
        m_popup->popup(m_pane.viewport()->mapToGlobal(at));
    });
}

void ReportView::clear()
{
    m_lines.clear();
    m_pane.clear();
}

void ReportView::append(const std::vector<ReportLine> &lines)
{
    QTextCursor cursor(m_pane.document());
    cursor.movePosition(QTextCursor::End);
    for (const ReportLine &line : lines) {
        QTextCharFormat format;
        QFont font = m_pane.font();
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
        if (!m_pane.document()->isEmpty() || !m_lines.empty())
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

void ReportView::SaveAs1Click()
{
    const auto path = m_prompter.saveFile(kRtfFilter, QStringLiteral("rtf"));
    if (!path)
        return;
    if (!writeFileAtomically(*path, reportToRtf(m_lines, kReportPointSize)))
        throw AppError::withArg(messages::CannotCreateFile, *path);
}

void ReportView::PopupReportPopup()
{
    m_copy3->setEnabled(m_pane.textCursor().hasSelection());
}

void ReportView::Copy3Click()
{
    m_pane.copy();
}

void ReportView::SelectAllClick()
{
    m_pane.selectAll();
}
