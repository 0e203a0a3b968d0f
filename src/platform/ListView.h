// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QItemSelection>
#include <QIcon>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAbstractItemDelegate;
class QListView;
class QTreeView;
class QStackedLayout;

// A list of items with a caption, sub-items, an image index and an integer in its data slot,
// shown in one of four styles (large icons, small icons, list, report with columns), like the
// list view the program was designed around.
class ListView : public QWidget {
    Q_OBJECT
public:
    enum class ViewStyle { Icon, SmallIcon, List, Report };
    struct Column {
        QString header;
        int width = 62;
        int maxWidth = 0;   // 0: no limit
    };
    struct Item {
        QString caption;
        QStringList subItems;
        int image = -1;
        int data = 0;
        QString name;   // the entry's own name on disk or in the archive, when it has one
        QString toolTip = {};   // shown for the caption instead of the caption itself, when set
    };

    explicit ListView(QWidget *parent = nullptr);

    void setColumns(const std::vector<Column> &columns);
    void setImages(std::vector<QIcon> images);
    void setViewStyle(ViewStyle style);
    // How captions too long for their place are cut, in every style; by default large icons
    // keep both ends and the other styles the start.
    void setCaptionElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode captionElideMode() const;
    ViewStyle viewStyle() const { return m_style; }

    int count() const { return static_cast<int>(m_items.size()); }
    const Item &item(int row) const { return m_items[static_cast<size_t>(row)]; }
    int addItem(Item item);
    // Appends many items at once: one insertion for the views.
    void addItems(std::vector<Item> items);
    void removeItem(int row);
    void setItem(int row, Item item);
    void clear();
    // Items added between these two are shown at once by endUpdate.
    void beginUpdate();
    void endUpdate();
    void sort(const std::function<bool(const Item &, const Item &)> &less);

    int selectedRow() const;
    void selectRow(int row);       // selects and makes it the focused row
    void scrollToRow(int row);
    void focusList();
    int rowAt(const QPoint &viewportPosition) const;
    QWidget *activeView() const;

    // The navigation box shows one list; the others are collapsed to zero height.
    void setCollapsed(bool collapsed);
    // Items can be dragged and dropped onto other items of the same list.
    void setInternalDrag(bool enabled);
    bool collapsed() const { return m_collapsed; }

    // Filtering: only the rows whose caption or one of the filter's sub-items holds the text,
    // whatever its case, are shown; an empty text shows every row. Row numbers keep meaning the
    // list's own rows, shown or not (count, item, selectedRow, selectRow, selectItem). A hidden
    // row is not selected: selecting it does nothing, and a filter that hides the selected row
    // drops the selection without a signal, as a reset of the list does. A sub-item that holds
    // a path is matched by its file name alone.
    void setFilter(const QString &text);
    QString filter() const { return m_filterText; }
    void setFilterSubItems(std::vector<int> subItems) { m_filterSubItems = std::move(subItems); }
    int shownCount() const;

signals:
    void selectItem(int row, bool selected);
    void dblClick();
    void keyPress(QChar character);
    void contextMenu(const QPoint &globalPosition);
    void itemDropped(int sourceRow, int targetRow);
    // removeItem took this row out (the rows after it moved up by one).
    void itemRemoved(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Model;
    void emitSelectionChanges(const QItemSelection &selected, const QItemSelection &deselected);
    bool filtering() const { return !m_filterText.isEmpty(); }
    bool matchesFilter(const Item &item) const;
    void refilter();
    int viewRow(int row) const;     // -1 when the row is hidden
    int listRow(int viewRow) const;
    // In the report style the Name column is as wide as its captions and takes the width the
    // other columns leave.
    void fitNameColumn();

    std::vector<Item> m_items;
    std::vector<Column> m_columns;
    std::vector<QIcon> m_images;
    Model *m_model = nullptr;
    QListView *m_listView = nullptr;
    QAbstractItemDelegate *m_plainDelegate = nullptr;
    QAbstractItemDelegate *m_captionDelegate = nullptr;   // large icons
    QTreeView *m_treeView = nullptr;
    QStackedLayout *m_stack = nullptr;
    ViewStyle m_style = ViewStyle::Icon;
    int m_updateDepth = 0;
    bool m_collapsed = false;
    bool m_internalDrag = false;
    std::optional<Qt::TextElideMode> m_captionElide;
    QPoint m_pressPosition;
    int m_pressRow = -1;
    QString m_filterText;
    std::vector<int> m_filterSubItems;
    std::vector<int> m_shownRows;   // while filtering: the rows shown, ascending
    bool m_quietSelection = false;
};
