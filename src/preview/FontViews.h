// SPDX-License-Identifier: MIT
#pragma once

#include "FontCatalogue.h"

#include <QObject>

#include <vector>

class CharacterMap;
class FontCatalogue;
class InstalledFontsList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class ReportView;
class UnicodeMap;
struct CurrentFontRecord;
struct LoadedFont;

// The controls that show the current face.
struct FontViewControls {
    QPlainTextEdit *Preview = nullptr;
    QLineEdit *CopyBuff = nullptr;
    QTableWidget *CharactersPreview = nullptr;
    QLabel *SymbolPreview = nullptr;
    QComboBox *SelectCharset = nullptr;
    QTabWidget *TabsPreviewModes = nullptr;
    QComboBox *SelectStyle = nullptr;
};

// The faces of a family that the catalogue knows (temporary ones aside), regular before bold,
// upright before italic.
std::vector<CatalogueFont> familyFaces(const std::vector<CatalogueFont> &fonts, const QString &family);

// Makes the three views follow the current font: the sample, the character map with its charset
// box, and the report. What the status bar should say is reported, not written.
class FontViews : public QObject {
    Q_OBJECT
public:
    FontViews(FontCatalogue &catalogue, const FontViewControls &controls, CharacterMap &characterMap, ReportView &report,
              InstalledFontsList &installed, const CurrentFontRecord &currentFont, QString systemFontsFolder);

    // A font file that was loaded: its face everywhere, its charset and last character in the
    // map, its names in the report when the report is shown.
    void showFontFile(const LoadedFont &font);
    // Shows the installed font of a FontsList row everywhere.
    void FontsListSelectItem(int row, bool selected);
    // The sample alone takes a face (the start-up face).
    void setSampleFace(const QString &face);
    // The first installed font, offered when a read of the list ends: the sample takes it only
    // while it shows no font file, so a file previewed while the list was read stays on show.
    void offerSampleFace(const QString &face);
    // After an uninstall no view keeps the font that went.
    void withdrawFace();
    // The sample follows the charset chosen in the charset box.
    void setSampleCharset(int charset);
    // Shows another face of the installed family that is shown: an entry of the style box.
    void SelectStyleChange(int entry);
    // The Unicode map follows the shown face too.
    void setUnicodeMap(UnicodeMap *map) { m_unicodeMap = map; }

signals:
    void statusText(int panel, const QString &text);

private:
    // A face by name; a face of a temporary font file through that file's own family.
    void setFace(const QString &face, const QString &file = QString(), int faceIndex = -1);
    void showInstalledFontReport(int row);
    bool reportShown() const;
    void fillStyles(const QString &family, const QString &file);

    FontCatalogue &m_catalogue;
    FontViewControls m_controls;
    CharacterMap &m_characterMap;
    ReportView &m_report;
    InstalledFontsList &m_installed;
    const CurrentFontRecord &m_currentFont;
    QString m_systemFontsFolder;
    UnicodeMap *m_unicodeMap = nullptr;
    std::vector<CatalogueFont> m_styleFaces;   // the faces of the style box, in its order
    QString m_styleFamily;
    int m_chosenStyle = -1;                     // the entry the user chose for m_styleFamily
    bool m_fileShown = false;                   // the views show a loaded font file
};
