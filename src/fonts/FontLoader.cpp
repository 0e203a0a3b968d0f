// SPDX-License-Identifier: MIT
#include "FontLoader.h"

#include "CharacterMap.h"
#include "CharsetTable.h"
#include "FaceFont.h"
#include "FontCatalogue.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "NameTableReader.h"
#include "Prompter.h"
#include "ReportView.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>

QString NewFaceName(const QStringList &before, const QStringList &after)
{
    const qsizetype n = std::min(before.size(), after.size());
    for (qsizetype i = 0; i < n; ++i)
        if (before[i] != after[i])
            return after[i];
    if (before.size() > n)
        return before[n];
    if (after.size() > n)
        return after[n];
    return {};
}

FontLoader::FontLoader(MainState &state, MainServices &services, MainControls &controls, InstalledFontsList &installed,
                       CharacterMap &characterMap, ReportView &report)
    : m_state(state)
    , m_services(services)
    , m_controls(controls)
    , m_installed(installed)
    , m_characterMap(characterMap)
    , m_report(report)
{
}

void FontLoader::setFace(const QString &face)
{
    for (QWidget *control : {static_cast<QWidget *>(m_controls.Preview), static_cast<QWidget *>(m_controls.CopyBuff),
                             static_cast<QWidget *>(m_controls.CharactersPreview), static_cast<QWidget *>(m_controls.SymbolPreview)})
        setFaceName(control, face, m_services.catalogue);
}

QString fontFileRefusalText(const QString &path, FileRefusal why)
{
    switch (why) {
    case FileRefusal::NotRegular:
        return QStringLiteral("Cannot load %1: it is not a regular file.").arg(path);
    case FileRefusal::TooLarge:
        return QStringLiteral("Cannot load %1: the file is larger than %2 MB.").arg(path).arg(FontCatalogue::kFontFileLimit / (1024 * 1024));
    case FileRefusal::Unreadable:
        return QStringLiteral("Cannot load %1: the file cannot be read.").arg(path);
    case FileRefusal::None:
    case FileRefusal::Missing:
        break;
    }
    return {};
}

bool FontLoader::refused(const QString &path, FileRefusal why)
{
    // A file that is not there fails as the system's own add would, without a word; a special or
    // oversized file is named, so the user knows why nothing changed.
    const QString text = fontFileRefusalText(path, why);
    if (text.isEmpty())
        return false;
    m_services.prompter.message(text, MessageIcon::Error);
    return true;
}

int FontLoader::LoadFontFile(const QString &path)
{
    m_report.clear();
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    QString face;
    FileRefusal why = FileRefusal::None;
    if (fileExtension(fileName).toLower() == QLatin1String(".ttf")) {
        QStringList installedFaces;
        m_installed.EnumerateFaceNames(installedFaces);
        face = ReadTrueTypeNames(m_state.CurrentFont, path, &why).value_or(QString());
        m_state.CurrentFont.FontFilePath = path;
        if (refused(path, why))
            return 2;
        if (m_services.catalogue.addTemporary(path, &why) == 0) {
            refused(path, why);
            return 2;
        }
        setFace(face);
        // The loaded face itself tells its last character and charset.
        const FontFacts *facts = m_services.catalogue.temporaryFacts(path);
        const int lastChar = facts ? facts->lastChar : 255;
        const int charset = facts && !facts->charsets.empty() ? facts->charsets.front() : 0;
        m_controls.SelectCharset->clear();
        m_controls.SelectCharset->addItem(CharsetName(charset));
        m_characterMap.FillCharacterMap(lastChar, charset);
        m_controls.SelectCharset->setCurrentIndex(0);
        const bool installed = installedFaces.contains(face, Qt::CaseInsensitive);
        m_controls.StatusPanels[2]->setText(installed ? QStringLiteral("Installed") : QStringLiteral("Not intalled"));
        m_controls.Install1->setEnabled(!installed);
        if (m_controls.TabsPreviewModes->currentIndex() == 2) {
            m_controls.ReportEdit->hide();
            m_report.WriteFontFileReport(face, path);
        }
        m_controls.ReportEdit->show();
    } else {
        QStringList before, after;
        m_installed.EnumerateFaceNames(before);
        m_state.CurrentFont.FontFilePath = path;
        if (m_services.catalogue.addTemporary(path, &why) == 0) {
            refused(path, why);
            return 2;
        }
        m_installed.EnumerateFaceNames(after);
        face = NewFaceName(before, after);
        if (face.isEmpty()) {
            // Already known to the system: find it by its file in the installed-fonts list.
            const ListView *list = m_controls.FontsList;
            for (int row = 0; row < list->count(); ++row) {
                const QString file = list->item(row).subItems.value(FontsListColumn::FileName);
                if (file.mid(file.lastIndexOf(QLatin1Char('/')) + 1) == fileName)
                    face = list->item(row).caption;
            }
        }
        setFace(face);
    }
    m_controls.StatusPanels[1]->setText(fileName);
    m_controls.StatusPanels[3]->setText(face);
    return 0;
}
