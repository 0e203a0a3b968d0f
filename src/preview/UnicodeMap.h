// SPDX-License-Identifier: MIT
#pragma once

#include "UnicodeMapData.h"

#include <QAbstractTableModel>
#include <QObject>

#include <optional>
#include <vector>

class FontCatalogue;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

// The characters the map shows, laid out row by row in as many columns as fit; a cell past the
// last character is empty. Only the cells on screen are ever asked for.
class UnicodeMapModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setCodes(std::vector<char32_t> codes);
    void setColumns(int columns);
    int columns() const { return m_columns; }
    const std::vector<char32_t> &codes() const { return m_codes; }
    std::optional<char32_t> codeAt(const QModelIndex &index) const;
    QModelIndex indexOfPosition(int position) const;
    // The place of a code among the shown ones; -1 when it is not shown.
    int positionOf(char32_t code) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<char32_t> m_codes;
    bool m_ascending = true;
    int m_columns = 1;
};

// The controls of the Unicode map page.
struct UnicodeMapControls {
    QTableView *UnicodeGrid = nullptr;
    QComboBox *UnicodeBlocks = nullptr;
    QLineEdit *UnicodeSearch = nullptr;
    QLabel *UnicodeCount = nullptr;
    QLabel *UnicodeSymbol = nullptr;
    QLabel *UnicodeName = nullptr;
    QLabel *UnicodeCode = nullptr;
    QLabel *UnicodeUtf8 = nullptr;
    QLabel *UnicodeUtf16 = nullptr;
    QLabel *UnicodeBlock = nullptr;
    QLabel *UnicodeCategory = nullptr;
    QLineEdit *CopyBuff = nullptr;
};

// The Unicode map: every character the current face covers, by block, with the selected
// character's name, code, bytes, block and category; search by name, code or character; the
// copy buffer it shares with the character map.
class UnicodeMap : public QObject {
    Q_OBJECT
public:
    UnicodeMap(FontCatalogue &catalogue, const UnicodeMapControls &controls);

    // The face to show, from its file. Read at once while the page is shown, else when it is.
    void showFace(const QString &file, int faceIndex, const QString &faceName);
    void setShown(bool shown);
    // Cell size and the characters' point size (the character map's options).
    void setCellSize(int width, int height, int pointSize);

    // 0 every block, then the blocks in order.
    void chooseBlock(int entry);
    void findCharacters(const QString &query);
    bool selectCode(char32_t code);
    std::optional<char32_t> currentCode() const;
    void copyCharacter();
    void addToBuffer();
    void relayout();

    const UnicodeMapData &data() const { return m_data; }
    UnicodeMapModel &model() { return *m_model; }
    QString loadedFile() const { return m_loadedFile; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void fillBlocks();
    void showCodes(std::vector<char32_t> codes, const QString &count);
    void showDetails();

    FontCatalogue &m_catalogue;
    UnicodeMapControls m_controls;
    UnicodeMapModel *m_model = nullptr;
    UnicodeMapData m_data;
    QString m_pendingFile, m_loadedFile, m_faceName;
    int m_pendingIndex = 0;
    bool m_pending = false;
    bool m_shown = false;
};
