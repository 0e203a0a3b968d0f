// SPDX-License-Identifier: MIT
#pragma once

#include "FontReport.h"
#include "MainState.h"

#include <QObject>

class CharacterMap;
class InstalledFontsList;
class QMenu;

// The report pane: the installed-font and font-file reports, the Fonts list's selection
// handler that shows an installed font everywhere, "Save as..." and the pane's popup menu.
class ReportView : public QObject {
public:
    ReportView(MainState &state, MainServices &services, MainControls &controls, InstalledFontsList &installed,
               CharacterMap &characterMap);

    void FontsListSelectItem(int row, bool selected);
    void WriteFontFileReport(const QString &faceName, const QString &path);
    void AppendHeading(const QString &text);
    void AppendLabel(const QString &text);
    void AppendValue(const QString &text);
    void SaveAs1Click();
    void PopupReportPopup();
    void Copy3Click();
    void SelectAllClick();
    void clear();

    // What the pane shows, line by line, as it was appended.
    const std::vector<ReportLine> &lines() const { return m_lines; }
    QMenu *popup() const { return m_popup; }

private:
    void append(const std::vector<ReportLine> &lines);

    MainState &m_state;
    MainServices &m_services;
    MainControls &m_controls;
    InstalledFontsList &m_installed;
    CharacterMap &m_characterMap;
    std::vector<ReportLine> m_lines;
    QMenu *m_popup = nullptr;
};
