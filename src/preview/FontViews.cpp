// SPDX-License-Identifier: MIT
#include "FontViews.h"

#include "CharacterMap.h"
#include "CharsetTable.h"
#include "FaceFont.h"
#include "FontLoader.h"
#include "FontReport.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "IntConv.h"
#include "ListView.h"
#include "NameTableReader.h"
#include "ReportView.h"
#include "UnicodeMap.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>

#include <algorithm>

FontViews::FontViews(FontCatalogue &catalogue, const FontViewControls &controls, CharacterMap &characterMap, ReportView &report,
                     InstalledFontsList &installed, const CurrentFontRecord &currentFont, QString systemFontsFolder)
    : m_catalogue(catalogue)
    , m_controls(controls)
    , m_characterMap(characterMap)
    , m_report(report)
    , m_installed(installed)
    , m_currentFont(currentFont)
    , m_systemFontsFolder(std::move(systemFontsFolder))
{
}

bool FontViews::reportShown() const
{
    return m_controls.TabsPreviewModes->currentIndex() == 2;
}

void FontViews::setFace(const QString &face, const QString &file, int faceIndex)
{
    for (QWidget *control : {static_cast<QWidget *>(m_controls.Preview), static_cast<QWidget *>(m_controls.CopyBuff),
                             static_cast<QWidget *>(m_controls.CharactersPreview), static_cast<QWidget *>(m_controls.SymbolPreview)})
        setFileFace(control, face, m_catalogue, file, faceIndex);
}

void FontViews::setSampleFace(const QString &face)
{
    setFaceName(m_controls.Preview, face, m_catalogue);
    m_controls.Preview->viewport()->update();
}

void FontViews::offerSampleFace(const QString &face)
{
    if (!m_fileShown)
        setSampleFace(face);
}

void FontViews::withdrawFace()
{
    m_fileShown = false;
    setFace(QStringLiteral("MS Sans Serif"));
    fillStyles(QString(), QString());
    if (m_unicodeMap)
        m_unicodeMap->showFace(QString(), 0, QStringLiteral("MS Sans Serif"));
}

void FontViews::setSampleCharset(int charset)
{
    setFaceCharset(m_controls.Preview, charset);
}

void FontViews::showFontFile(const LoadedFont &font)
{
    m_fileShown = true;
    setFace(font.face, font.path, font.faceIndex);
    if (m_unicodeMap)
        m_unicodeMap->showFace(font.path, font.faceIndex, font.face);
    fillStyles(QString(), QString());
    if (font.trueType) {
        m_controls.SelectCharset->clear();
        m_controls.SelectCharset->addItem(CharsetName(font.charset));
        m_characterMap.FillCharacterMap(font.lastChar, font.charset);
        m_controls.SelectCharset->setCurrentIndex(0);
        emit statusText(2, font.installed ? QStringLiteral("Installed") : QStringLiteral("Not intalled"));
        if (reportShown()) {
            m_report.pane().hide();
            m_report.append(fontFileReport(font.face, font.path, m_currentFont.FontNames, font.faceIndex, font.faceCount));
        }
        m_report.pane().show();
    }
    emit statusText(1, font.fileName);
    emit statusText(3, font.face);
}

void FontViews::FontsListSelectItem(int row, bool selected)
{
    if (!m_installed.FontsListReady || row < 0 || !selected)
        return;
    const ListView::Item item = m_installed.list().item(row);
    const QStringList &cells = item.subItems;
    using namespace FontsListColumn;
    m_fileShown = false;

    setFaceName(m_controls.Preview, item.caption, m_catalogue);
    setFaceCharset(m_controls.Preview, m_installed.CharsetCodeOfSelection(row));
    for (QWidget *control : {static_cast<QWidget *>(m_controls.CharactersPreview), static_cast<QWidget *>(m_controls.SymbolPreview),
                             static_cast<QWidget *>(m_controls.CopyBuff)})
        setFaceName(control, item.caption, m_catalogue);
    // The cell tells the face's real last character; the map shows the single-byte codes.
    m_characterMap.FillCharacterMap(std::clamp(StrToInt(cells.value(Characters)), 0, 255), CharsetCode(cells.value(Charset)));
    QStringList charsets;
    CharsetNamesFromList(&charsets, cells.value(Charsets), QLatin1Char(';'));
    m_controls.SelectCharset->clear();
    m_controls.SelectCharset->addItems(charsets);
    m_controls.SelectCharset->setCurrentIndex(0);
    m_characterMap.CharactersPreviewClick();
    if (m_unicodeMap) {
        const QString file = cells.value(FileName);
        const bool known = file != QLatin1String("Unknown") && !file.isEmpty();
        m_unicodeMap->showFace(known ? (file.contains(QLatin1Char('/')) ? file : m_systemFontsFolder + file) : QString(), 0, item.caption);
    }
    emit statusText(1, cells.value(FileName));
    emit statusText(2, QStringLiteral("Installed"));
    emit statusText(3, item.caption);
    m_report.clear();
    if (item.image != 3 && reportShown())
        showInstalledFontReport(row);
    m_report.pane().show();
    fillStyles(item.caption, cells.value(FileName));
}

void FontViews::showInstalledFontReport(int row)
{
    const ListView::Item item = m_installed.list().item(row);
    m_report.pane().hide();
    // The names come straight from the font's file: in the fonts folder, or where the list says.
    std::array<QString, 21> names;
    const QString file = item.subItems.value(FontsListColumn::FileName);
    if (file != QLatin1String("Unknown") && !file.isEmpty())
        names = readFontFileNames(file.contains(QLatin1Char('/')) ? file : m_systemFontsFolder + file);
    QStringList charsetItems;
    for (int i = 0; i < m_controls.SelectCharset->count(); ++i)
        charsetItems << m_controls.SelectCharset->itemText(i);
    m_report.append(installedFontReport(item.caption, item.subItems, names, charsetItems));
}

std::vector<CatalogueFont> familyFaces(const std::vector<CatalogueFont> &fonts, const QString &family)
{
    std::vector<CatalogueFont> faces;
    if (family.isEmpty())
        return faces;
    for (const CatalogueFont &font : fonts)
        if (!font.temporary && font.facts.valid && font.facts.family.compare(family, Qt::CaseInsensitive) == 0)
            faces.push_back(font);
    std::stable_sort(faces.begin(), faces.end(), [](const CatalogueFont &a, const CatalogueFont &b) {
        return std::pair(a.facts.italic, a.facts.weight) < std::pair(b.facts.italic, b.facts.weight);
    });
    return faces;
}

void FontViews::fillStyles(const QString &family, const QString &file)
{
    QComboBox *box = m_controls.SelectStyle;
    if (!box)
        return;
    // Showing the same family again (a mode switch selects the row anew) keeps the chosen face.
    const int chosen = !family.isEmpty() && family == m_styleFamily ? m_chosenStyle : -1;
    m_styleFamily = family;
    m_chosenStyle = -1;
    m_styleFaces = familyFaces(family.isEmpty() ? std::vector<CatalogueFont>{} : m_catalogue.installedFamilyFaces(family), family);
    const QSignalBlocker quiet(box);
    box->clear();
    int shown = 0;
    for (const CatalogueFont &face : m_styleFaces) {
        // The row's own file is the face the list shows.
        if (face.file == file || face.file.section(QLatin1Char('/'), -1) == file)
            shown = box->count();
        box->addItem(face.facts.style.isEmpty() ? face.facts.fullName : face.facts.style);
    }
    box->setCurrentIndex(m_styleFaces.empty() ? -1 : shown);
    if (chosen >= 0 && chosen < box->count() && chosen != shown) {
        box->setCurrentIndex(chosen);
        SelectStyleChange(chosen);
    }
}

void FontViews::SelectStyleChange(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(m_styleFaces.size()))
        return;
    m_chosenStyle = entry;
    const CatalogueFont &face = m_styleFaces[static_cast<size_t>(entry)];
    // A full name stands for the family and its style.
    setFace(face.facts.fullName);
    if (m_unicodeMap)
        m_unicodeMap->showFace(face.file, face.index, face.facts.fullName);
    m_characterMap.CharactersPreviewClick();
    emit statusText(1, face.file.section(QLatin1Char('/'), -1));
    emit statusText(3, face.facts.fullName);
    m_report.clear();
    if (reportShown()) {
        m_report.pane().hide();
        m_report.append(fontFileReport(face.facts.fullName, face.file, readFontFileNames(face.file)));
    }
    m_report.pane().show();
}
