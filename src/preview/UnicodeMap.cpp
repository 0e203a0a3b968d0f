// SPDX-License-Identifier: MIT
#include "UnicodeMap.h"

#include "Desktop.h"
#include "FaceFont.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

void UnicodeMapModel::setCodes(std::vector<char32_t> codes)
{
    beginResetModel();
    m_codes = std::move(codes);
    m_ascending = std::is_sorted(m_codes.begin(), m_codes.end());
    endResetModel();
}

void UnicodeMapModel::setColumns(int columns)
{
    columns = std::max(1, columns);
    if (columns == m_columns)
        return;
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

std::optional<char32_t> UnicodeMapModel::codeAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return std::nullopt;
    const qsizetype position = qsizetype(index.row()) * m_columns + index.column();
    if (position < 0 || position >= qsizetype(m_codes.size()))
        return std::nullopt;
    return m_codes[static_cast<size_t>(position)];
}

QModelIndex UnicodeMapModel::indexOfPosition(int position) const
{
    if (position < 0 || position >= static_cast<int>(m_codes.size()))
        return {};
    return index(position / m_columns, position % m_columns);
}

int UnicodeMapModel::positionOf(char32_t code) const
{
    if (m_ascending) {
        const auto at = std::lower_bound(m_codes.begin(), m_codes.end(), code);
        return at != m_codes.end() && *at == code ? static_cast<int>(at - m_codes.begin()) : -1;
    }
    const auto at = std::find(m_codes.begin(), m_codes.end(), code);
    return at != m_codes.end() ? static_cast<int>(at - m_codes.begin()) : -1;
}

int UnicodeMapModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>((m_codes.size() + static_cast<size_t>(m_columns) - 1) / static_cast<size_t>(m_columns));
}

int UnicodeMapModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant UnicodeMapModel::data(const QModelIndex &index, int role) const
{
    const std::optional<char32_t> code = codeAt(index);
    if (!code)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUcs4(&*code, 1);
    case Qt::ToolTipRole:
        return QStringLiteral("U+%1 %2").arg(uint(*code), 4, 16, QLatin1Char('0')).toUpper().arg(UnicodeMapData::characterName(*code));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::UserRole:
        return uint(*code);
    default:
        return {};
    }
}

UnicodeMap::UnicodeMap(FontCatalogue &catalogue, const UnicodeMapControls &controls)
    : m_catalogue(catalogue)
    , m_controls(controls)
{
    m_model = new UnicodeMapModel(this);
    QTableView *grid = m_controls.UnicodeGrid;
    grid->setModel(m_model);
    // Every row and column has the one size: the view then never measures its cells.
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->viewport()->installEventFilter(this);
    grid->installEventFilter(this);
    m_controls.UnicodeSearch->installEventFilter(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showDetails(); });
    showCodes({}, QStringLiteral("No font"));
}

void UnicodeMap::showFace(const QString &file, int faceIndex, const QString &faceName)
{
    m_pendingFile = file;
    m_pendingIndex = faceIndex;
    m_faceName = faceName;
    m_pending = true;
    if (m_shown)
        load();
}

void UnicodeMap::setShown(bool shown)
{
    m_shown = shown;
    if (shown && m_pending)
        load();
    if (shown)
        relayout();
}

void UnicodeMap::load()
{
    m_pending = false;
    m_loadedFile = m_pendingFile;
    for (QWidget *control : {static_cast<QWidget *>(m_controls.UnicodeGrid), static_cast<QWidget *>(m_controls.UnicodeSymbol)})
        setFileFace(control, m_faceName, m_catalogue, m_loadedFile, m_pendingIndex);
    m_data.setCoverage(m_loadedFile.isEmpty() ? std::vector<char32_t>{} : UnicodeMapData::readCoverage(m_loadedFile, m_pendingIndex));
    fillBlocks();
    const QSignalBlocker quiet(m_controls.UnicodeSearch);
    m_controls.UnicodeSearch->clear();
    chooseBlock(0);
}

void UnicodeMap::fillBlocks()
{
    QComboBox *blocks = m_controls.UnicodeBlocks;
    const QSignalBlocker quiet(blocks);
    blocks->clear();
    blocks->addItem(QStringLiteral("All blocks (%1)").arg(m_data.coverage().size()));
    for (const UnicodeBlockGroup &group : m_data.blocks())
        blocks->addItem(QStringLiteral("%1 (%2)").arg(group.name).arg(group.count));
    blocks->setCurrentIndex(0);
}

void UnicodeMap::setCellSize(int width, int height, int pointSize)
{
    QTableView *grid = m_controls.UnicodeGrid;
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setDefaultSectionSize(std::max(1, width));
    grid->verticalHeader()->setDefaultSectionSize(std::max(1, height));
    QFont font = grid->font();
    font.setPointSize(std::max(1, pointSize));
    grid->setFont(font);
    relayout();
}

void UnicodeMap::chooseBlock(int entry)
{
    const std::vector<char32_t> &all = m_data.coverage();
    if (entry <= 0 || entry > static_cast<int>(m_data.blocks().size())) {
        showCodes(all, all.empty() ? QStringLiteral("No Unicode characters") : QStringLiteral("%1 characters").arg(all.size()));
        return;
    }
    const UnicodeBlockGroup &group = m_data.blocks()[static_cast<size_t>(entry - 1)];
    const auto first = all.begin() + group.first;
    showCodes(std::vector<char32_t>(first, first + group.count), QStringLiteral("%1 characters").arg(group.count));
}

void UnicodeMap::findCharacters(const QString &query)
{
    if (query.trimmed().isEmpty()) {
        chooseBlock(m_controls.UnicodeBlocks->currentIndex());
        return;
    }
    std::vector<char32_t> found = m_data.searchCovered(query);
    const QString count = found.empty() ? QStringLiteral("No character found") : QStringLiteral("%1 found").arg(found.size());
    showCodes(std::move(found), count);
}

void UnicodeMap::showCodes(std::vector<char32_t> codes, const QString &count)
{
    const std::optional<char32_t> kept = currentCode();
    m_model->setCodes(std::move(codes));
    m_controls.UnicodeCount->setText(count);
    relayout();
    if (!(kept && selectCode(*kept)) && !m_model->codes().empty())
        m_controls.UnicodeGrid->setCurrentIndex(m_model->indexOfPosition(0));
    showDetails();
}

void UnicodeMap::relayout()
{
    QTableView *grid = m_controls.UnicodeGrid;
    const int cellWidth = std::max(1, grid->horizontalHeader()->defaultSectionSize());
    const std::optional<char32_t> kept = currentCode();
    const int columns = std::max(1, grid->viewport()->width() / cellWidth);
    if (columns == m_model->columns())
        return;
    m_model->setColumns(columns);
    if (kept)
        selectCode(*kept);
}

bool UnicodeMap::selectCode(char32_t code)
{
    const int position = m_model->positionOf(code);
    if (position < 0)
        return false;
    const QModelIndex index = m_model->indexOfPosition(position);
    m_controls.UnicodeGrid->setCurrentIndex(index);
    m_controls.UnicodeGrid->scrollTo(index);
    return true;
}

std::optional<char32_t> UnicodeMap::currentCode() const
{
    return m_model->codeAt(m_controls.UnicodeGrid->currentIndex());
}

void UnicodeMap::showDetails()
{
    const std::optional<char32_t> code = currentCode();
    if (!code) {
        for (QLabel *label : {m_controls.UnicodeSymbol, m_controls.UnicodeName, m_controls.UnicodeCode, m_controls.UnicodeUtf8,
                              m_controls.UnicodeUtf16, m_controls.UnicodeBlock, m_controls.UnicodeCategory})
            label->clear();
        return;
    }
    const UnicodeCharacterInfo info = UnicodeMapData::describe(*code);
    m_controls.UnicodeSymbol->setText(info.text);
    m_controls.UnicodeName->setText(info.name);
    m_controls.UnicodeCode->setText(info.codeText);
    m_controls.UnicodeUtf8->setText(info.utf8);
    m_controls.UnicodeUtf16->setText(info.utf16);
    m_controls.UnicodeBlock->setText(info.block);
    m_controls.UnicodeCategory->setText(info.category);
}

void UnicodeMap::copyCharacter()
{
    if (const std::optional<char32_t> code = currentCode())
        Desktop::setClipboardText(QString::fromUcs4(&*code, 1));
}

void UnicodeMap::addToBuffer()
{
    if (const std::optional<char32_t> code = currentCode())
        m_controls.CopyBuff->setText(m_controls.CopyBuff->text() + QString::fromUcs4(&*code, 1));
}

bool UnicodeMap::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.UnicodeGrid->viewport() && event->type() == QEvent::Resize) {
        relayout();
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_controls.UnicodeGrid && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            addToBuffer();
            return true;
        }
        if (watched == m_controls.UnicodeSearch && key == Qt::Key_Escape) {
            m_controls.UnicodeSearch->clear();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
