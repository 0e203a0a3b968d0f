// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>

class FontCatalogue;
class FontsRegistry;
class ListView;

// The installed-fonts list of the Fonts view (FontsList) and the installed-face list that font
// loading uses.
class InstalledFontsList : public QObject {
    Q_OBJECT
public:
    InstalledFontsList(FontCatalogue &catalogue, FontsRegistry &fontsKey, QString fontsRegistryKey, ListView &fontsList);

    bool BuildInstalledFontFiles();
    void FillInstalledFontsList();
    // Reads the Fonts key again, refills the list and selects its first row.
    void RefreshInstalledFontsList();
    void EnumerateFaceNames(QStringList &list);
    // The charset of a row's "Charset" cell.
    int CharsetCodeOfSelection(int row) const;
    // The caption of the last row whose "File Name" names a file of this name.
    QString faceOfFile(const QString &fileName) const;

    ListView &list() { return m_list; }
    const QString &fontsRegistryKey() const { return m_fontsRegistryKey; }

    // Face, type and file of each value of the Fonts key (joined by line feeds).
    QStringList InstalledFontFiles;
    // False while the list is being built: a selection then shows nothing.
    bool FontsListReady = true;

signals:
    // The list was filled; its first row's face is the one to show the sample in.
    void listFilled(const QString &firstFace);

private:
    FontCatalogue &m_catalogue;
    FontsRegistry &m_fontsKey;
    QString m_fontsRegistryKey;
    ListView &m_list;
};
