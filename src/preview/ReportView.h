// SPDX-License-Identifier: MIT
#pragma once

#include "FontReport.h"

#include <QObject>

class Prompter;
class QAction;
class QMenu;
class QTextEdit;

// The report pane (ReportEdit): the installed-font and font-file reports as rich text, "Save
// as..." and the pane's popup menu.
class ReportView : public QObject {
    Q_OBJECT
public:
    ReportView(Prompter &prompter, QTextEdit &pane);

    void AppendHeading(const QString &text);
    void AppendLabel(const QString &text);
    void AppendValue(const QString &text);
    void append(const std::vector<ReportLine> &lines);
    void SaveAs1Click();
    void PopupReportPopup();
    void Copy3Click();
    void SelectAllClick();
    void clear();
    QTextEdit &pane() { return m_pane; }

    // What the pane shows, line by line, as it was appended.
    const std::vector<ReportLine> &lines() const { return m_lines; }
    QMenu *popup() const { return m_popup; }

private:
    Prompter &m_prompter;
    QTextEdit &m_pane;
    std::vector<ReportLine> m_lines;
    QMenu *m_popup = nullptr;
    QAction *m_copy3 = nullptr;
};
