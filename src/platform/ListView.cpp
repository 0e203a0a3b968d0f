// SPDX-License-Identifier: MIT
#include "ListView.h"

#include "CaptionDelegate.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QListView>
#include <QStackedLayout>
#include <QTreeView>

#include <algorithm>

class ListView::Model : public QAbstractTableModel {
public:
    explicit Model(ListView &owner) : QAbstractTableModel(&owner), m_owner(owner) {}

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() || m_owner.m_updateDepth > 0 ? 0 : m_owner.shownCount();
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(m_owner.m_columns.size()));
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const int row = index.isValid() ? m_owner.listRow(index.row()) : -1;
        if (row < 0 || row >= m_owner.count())
            return {};
        const Item &item = m_owner.item(row);
        if (role == Qt::ToolTipRole && index.column() == 0 && !item.toolTip.isEmpty())
            return item.toolTip;
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            if (index.column() == 0)
                return item.caption;
            const int sub = index.column() - 1;
            return sub < item.subItems.size() ? item.subItems[sub] : QString();
        }
        if (role == Qt::DecorationRole && index.column() == 0 && item.image >= 0
            && item.image < static_cast<int>(m_owner.m_images.size()))
            return m_owner.m_images[static_cast<size_t>(item.image)];
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < static_cast<int>(m_owner.m_columns.size()))
            return m_owner.m_columns[static_cast<size_t>(section)].header;
        return {};
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }
    void rowsAdded(int first, int last)
    {
        beginInsertRows({}, first, last);
        endInsertRows();
    }

private:
    ListView &m_owner;
};

ListView::ListView(QWidget *parent)
    : QWidget(parent)
{
    m_model = new Model(*this);
    m_listView = new QListView(this);
    m_treeView = new QTreeView(this);
    m_listView->setModel(m_model);
    m_treeView->setModel(m_model);
    m_treeView->setSelectionModel(m_listView->selectionModel());
    m_treeView->setRootIsDecorated(false);
    m_treeView->setUniformRowHeights(true);
    m_treeView->setItemsExpandable(false);
    m_treeView->setAllColumnsShowFocus(true);
    m_treeView->header()->setSectionsClickable(false);
    m_treeView->header()->setStretchLastSection(false);
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_listView), static_cast<QAbstractItemView *>(m_treeView)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, [this] { emit dblClick(); });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &p) {
            emit contextMenu(view->viewport()->mapToGlobal(p));
        });
    }
    m_plainDelegate = m_listView->itemDelegate();
    m_captionDelegate = new CaptionDelegate(this);
    m_listView->setUniformItemSizes(true);
    m_listView->setLayoutMode(QListView::Batched);
    m_listView->setBatchSize(500);
    connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListView::emitSelectionChanges);

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_listView);
    m_stack->addWidget(m_treeView);
    setViewStyle(ViewStyle::Icon);
}

void ListView::setColumns(const std::vector<Column> &columns)
{
    m_columns = columns;
    m_model->reset();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const int width = m_columns[i].maxWidth > 0 ? std::min(m_columns[i].width, m_columns[i].maxWidth) : m_columns[i].width;
        m_treeView->setColumnWidth(static_cast<int>(i), width);
        m_treeView->setColumnHidden(static_cast<int>(i), width == 0);
    }
}

void ListView::setImages(std::vector<QIcon> images)
{
    m_images = std::move(images);
}

void ListView::setViewStyle(ViewStyle style)
{
    m_style = style;
    switch (style) {
    case ViewStyle::Icon:
        m_listView->setViewMode(QListView::IconMode);
        m_listView->setIconSize(QSize(32, 32));
        m_listView->setGridSize(QSize(88, 76));
        // A caption wider than its cell keeps its start and end; a cut-off end would lose what
        // tells one file from the next.
        m_listView->setTextElideMode(m_captionElide.value_or(Qt::ElideMiddle));
        // Each caption is laid out in its grid cell, wrapped and cut to fit it.
        m_listView->setItemDelegate(m_captionDelegate);
        m_listView->setUniformItemSizes(true);
        m_listView->setWordWrap(true);
        m_listView->setMovement(QListView::Static);
        m_listView->setResizeMode(QListView::Adjust);
        m_stack->setCurrentWidget(m_listView);
        break;
    case ViewStyle::SmallIcon:
        m_listView->setItemDelegate(m_plainDelegate);
        m_listView->setViewMode(QListView::ListMode);
        m_listView->setIconSize(QSize(16, 16));
        m_listView->setGridSize(QSize(115, 20));
        m_listView->setTextElideMode(m_captionElide.value_or(Qt::ElideRight));
        m_listView->setUniformItemSizes(true);
        m_listView->setFlow(QListView::LeftToRight);
        m_listView->setWrapping(true);
        m_listView->setWordWrap(false);
        m_listView->setResizeMode(QListView::Adjust);
        m_stack->setCurrentWidget(m_listView);
        break;
    case ViewStyle::List:
        m_listView->setItemDelegate(m_plainDelegate);
        m_listView->setViewMode(QListView::ListMode);
        m_listView->setIconSize(QSize(16, 16));
        m_listView->setGridSize(QSize(170, 18));
        m_listView->setTextElideMode(m_captionElide.value_or(Qt::ElideRight));
        m_listView->setUniformItemSizes(true);
        m_listView->setFlow(QListView::TopToBottom);
        m_listView->setWrapping(true);
        m_listView->setWordWrap(false);
        m_listView->setResizeMode(QListView::Adjust);
        m_stack->setCurrentWidget(m_listView);
        break;
    case ViewStyle::Report:
        m_treeView->setIconSize(QSize(16, 16));
        m_treeView->setTextElideMode(m_captionElide.value_or(Qt::ElideRight));
        m_stack->setCurrentWidget(m_treeView);
        fitNameColumn();
        break;
    }
}

void ListView::setCaptionElideMode(Qt::TextElideMode mode)
{
    m_captionElide = mode;
    setViewStyle(m_style);
}

Qt::TextElideMode ListView::captionElideMode() const
{
    return static_cast<const QAbstractItemView *>(activeView())->textElideMode();
}

void ListView::fitNameColumn()
{
    if (m_style != ViewStyle::Report || m_updateDepth > 0 || m_columns.empty() || m_treeView->isColumnHidden(0))
        return;
    const Column &name = m_columns.front();
    int others = 0;
    for (size_t i = 1; i < m_columns.size(); ++i)
        if (!m_treeView->isColumnHidden(static_cast<int>(i)))
            others += m_treeView->columnWidth(static_cast<int>(i));
    const int left = m_treeView->viewport()->width() - others;
    // Captions cut at their start (archive entries) stay within the view, so that their ends
    // show; the others widen to their content.
    const int content = m_captionElide == Qt::ElideLeft ? 0 : static_cast<const QAbstractItemView *>(m_treeView)->sizeHintForColumn(0);
    m_treeView->setColumnWidth(0, std::max({name.width, content, left}));
}

void ListView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitNameColumn();
}

int ListView::addItem(Item item)
{
    m_items.push_back(std::move(item));
    const int row = count() - 1;
    if (filtering()) {
        if (!matchesFilter(m_items.back()))
            return row;
        m_shownRows.push_back(row);
    }
    if (m_updateDepth == 0)
        m_model->rowsAdded(shownCount() - 1, shownCount() - 1);
    return row;
}

void ListView::addItems(std::vector<Item> items)
{
    if (items.empty())
        return;
    const int first = count();
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    if (m_updateDepth == 0)
        m_model->rowsAdded(first, count() - 1);
}

void ListView::removeItem(int row)
{
    if (row < 0 || row >= count())
        return;
    // A model reset clears the selection without signals, as deleting a list item does.
    m_items.erase(m_items.begin() + row);
    refilter();
    m_model->reset();
    emit itemRemoved(row);
}

void ListView::setItem(int row, Item item)
{
    if (row < 0 || row >= count())
        return;
    const bool wasShown = viewRow(row) >= 0;
    m_items[static_cast<size_t>(row)] = std::move(item);
    if (filtering() && wasShown != matchesFilter(m_items[static_cast<size_t>(row)])) {
        setFilter(m_filterText);
        return;
    }
    if (m_updateDepth == 0 && wasShown)
        emit m_model->dataChanged(m_model->index(viewRow(row), 0), m_model->index(viewRow(row), m_model->columnCount({}) - 1));
}

void ListView::clear()
{
    m_items.clear();
    m_shownRows.clear();
    m_model->reset();
}

void ListView::beginUpdate()
{
    if (m_updateDepth++ == 0) {
        m_model->reset();
        setUpdatesEnabled(false);
    }
}

void ListView::endUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0) {
        refilter();
        m_model->reset();
        setUpdatesEnabled(true);
        fitNameColumn();
    }
}

void ListView::sort(const std::function<bool(const Item &, const Item &)> &less)
{
    std::stable_sort(m_items.begin(), m_items.end(), less);
    refilter();
    if (m_updateDepth == 0)
        m_model->reset();
}

int ListView::selectedRow() const
{
    const QModelIndexList rows = m_listView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : listRow(rows.constFirst().row());
}

void ListView::selectRow(int row)
{
    if (row < 0 || row >= count() || m_updateDepth > 0 || viewRow(row) < 0)
        return;
    const QModelIndex index = m_model->index(viewRow(row), 0);
    m_listView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::scrollToRow(int row)
{
    if (row < 0 || row >= count() || m_updateDepth > 0 || viewRow(row) < 0)
        return;
    m_listView->scrollTo(m_model->index(viewRow(row), 0));
    m_treeView->scrollTo(m_model->index(viewRow(row), 0));
}

void ListView::focusList()
{
    activeView()->setFocus();
}

int ListView::rowAt(const QPoint &position) const
{
    const auto *view = static_cast<QAbstractItemView *>(activeView());
    const QModelIndex index = view->indexAt(position);
    return index.isValid() ? listRow(index.row()) : -1;
}

QWidget *ListView::activeView() const
{
    return m_style == ViewStyle::Report ? static_cast<QWidget *>(m_treeView) : static_cast<QWidget *>(m_listView);
}

void ListView::setCollapsed(bool collapsed)
{
    m_collapsed = collapsed;
    setVisible(!collapsed);
}

void ListView::setInternalDrag(bool enabled)
{
    m_internalDrag = enabled;
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_listView), static_cast<QAbstractItemView *>(m_treeView)}) {
        view->viewport()->setAcceptDrops(enabled);
        view->viewport()->installEventFilter(this);
    }
}

void ListView::emitSelectionChanges(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_quietSelection)
        return;
    for (const QModelIndex &index : deselected.indexes())
        if (index.column() == 0)
            emit selectItem(listRow(index.row()), false);
    for (const QModelIndex &index : selected.indexes())
        if (index.column() == 0)
            emit selectItem(listRow(index.row()), true);
}

int ListView::shownCount() const
{
    return filtering() ? static_cast<int>(m_shownRows.size()) : count();
}

int ListView::viewRow(int row) const
{
    if (!filtering())
        return row;
    const auto at = std::lower_bound(m_shownRows.begin(), m_shownRows.end(), row);
    return at != m_shownRows.end() && *at == row ? static_cast<int>(at - m_shownRows.begin()) : -1;
}

int ListView::listRow(int viewRow) const
{
    if (!filtering())
        return viewRow;
    return viewRow >= 0 && viewRow < static_cast<int>(m_shownRows.size()) ? m_shownRows[static_cast<size_t>(viewRow)] : -1;
}

bool ListView::matchesFilter(const Item &item) const
{
    if (item.caption.contains(m_filterText, Qt::CaseInsensitive))
        return true;
    for (const int sub : m_filterSubItems)
        if (sub >= 0 && sub < item.subItems.size()) {
            const QString &cell = item.subItems[sub];
            if (QStringView(cell).mid(cell.lastIndexOf(QLatin1Char('/')) + 1).contains(m_filterText, Qt::CaseInsensitive))
                return true;
        }
    return false;
}

void ListView::refilter()
{
    m_shownRows.clear();
    if (!filtering())
        return;
    for (int row = 0; row < count(); ++row)
        if (matchesFilter(m_items[static_cast<size_t>(row)]))
            m_shownRows.push_back(row);
}

void ListView::setFilter(const QString &text)
{
    const int selected = selectedRow();
    m_filterText = text;
    refilter();
    if (m_updateDepth > 0)
        return;
    m_model->reset();
    // The selected row stays selected while it is shown; nothing about it changed.
    if (selected >= 0 && viewRow(selected) >= 0) {
        m_quietSelection = true;
        selectRow(selected);
        m_quietSelection = false;
        scrollToRow(selected);
    }
}

namespace {
const QString kRowMime = QStringLiteral("application/x-glyvanta-list-row");
}

bool ListView::eventFilter(QObject *watched, QEvent *event)
{
    if (m_internalDrag && (watched == m_listView->viewport() || watched == m_treeView->viewport())) {
        auto *viewport = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_pressPosition = mouse->position().toPoint();
            m_pressRow = mouse->button() == Qt::LeftButton ? rowAt(m_pressPosition) : -1;
            break;
        }
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_pressRow >= 0 && (mouse->buttons() & Qt::LeftButton)
                && (mouse->position().toPoint() - m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
                auto *mime = new QMimeData;
                mime->setData(kRowMime, QByteArray::number(m_pressRow) + ' ' + QByteArray::number(reinterpret_cast<quintptr>(this)));
                auto *drag = new QDrag(viewport);
                drag->setMimeData(mime);
                if (m_pressRow < count() && item(m_pressRow).image >= 0 && item(m_pressRow).image < static_cast<int>(m_images.size()))
                    drag->setPixmap(m_images[static_cast<size_t>(item(m_pressRow).image)].pixmap(32));
                m_pressRow = -1;
                drag->exec(Qt::MoveAction);
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(event);
            // Only drags that start in this very list are taken.
            const QList<QByteArray> parts = drag->mimeData()->data(kRowMime).split(' ');
            if (parts.size() == 2 && parts[1].toULongLong() == reinterpret_cast<quintptr>(this))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QList<QByteArray> parts = drop->mimeData()->data(kRowMime).split(' ');
            if (parts.size() == 2 && parts[1].toULongLong() == reinterpret_cast<quintptr>(this)) {
                drop->acceptProposedAction();
                emit itemDropped(parts[0].toInt(), rowAt(drop->position().toPoint()));
            }
            return true;
        }
        default:
            break;
        }
    }
    if (event->type() == QEvent::KeyPress && (watched == m_listView || watched == m_treeView)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit keyPress(QChar(13));
            return true;
        }
        if (!key->text().isEmpty() && key->text()[0].isPrint())
            emit keyPress(key->text()[0]);
    }
    return QWidget::eventFilter(watched, event);
}
