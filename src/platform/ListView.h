// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QItemSelection>
#include <QIcon>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

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
    };

    explicit ListView(QWidget *parent = nullptr);

    void setColumns(const std::vector<Column> &columns);
    void setImages(std::vector<QIcon> images);
    void setViewStyle(ViewStyle style);
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

signals:
    void selectItem(int row, bool selected);
    void dblClick();
    void keyPress(QChar character);
    void contextMenu(const QPoint &globalPosition);
    void itemDropped(int sourceRow, int targetRow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Model;
    void emitSelectionChanges(const QItemSelection &selected, const QItemSelection &deselected);

    std::vector<Item> m_items;
    std::vector<Column> m_columns;
    std::vector<QIcon> m_images;
    Model *m_model = nullptr;
    QListView *m_listView = nullptr;
    QTreeView *m_treeView = nullptr;
    QStackedLayout *m_stack = nullptr;
    ViewStyle m_style = ViewStyle::Icon;
    int m_updateDepth = 0;
    bool m_collapsed = false;
    bool m_internalDrag = false;
    QPoint m_pressPosition;
    int m_pressRow = -1;
};
