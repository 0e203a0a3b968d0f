// SPDX-License-Identifier: MIT
#include "ListView.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

ListView::Item item(const char *caption, const char *file = "")
{
    return {QString::fromLatin1(caption), {QStringLiteral("x"), QString::fromLatin1(file)}, 2, 0, {}};
}

// What the view shows, top to bottom.
QStringList shown(const ListView &list)
{
    const auto *view = static_cast<const QAbstractItemView *>(list.activeView());
    QStringList captions;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        captions << view->model()->index(row, 0).data().toString();
    return captions;
}

struct Lists {
    Lists()
    {
        list.setColumns({{QStringLiteral("Name"), 100}, {QStringLiteral("Kind"), 50}, {QStringLiteral("File"), 50}});
        list.setFilterSubItems({1});
        for (const auto &[caption, file] : {std::pair{"Alpha", "/fonts/a.ttf"}, std::pair{"Beta", "/fonts/b.fon"}, std::pair{"alphabet", "c.ttf"},
                                            std::pair{"Gamma", "/alpha/g.ttf"}})
            list.addItem(item(caption, file));
    }
    ListView list;
};

}

// Filtering keeps the rows that hold the text in the caption or the file's name, whatever the
// case; the rows keep their own numbers.
TEST(ListViewFilter, ShowsMatchingRowsUnderTheirOwnNumbers)
{
    Lists l;
    ListView &list = l.list;
    list.setFilter(QStringLiteral("ALPHA"));
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Alpha"), QStringLiteral("alphabet")}));   // not Gamma's folder
    EXPECT_EQ(list.shownCount(), 2);
    EXPECT_EQ(list.count(), 4);
    list.setFilter(QStringLiteral(".FON"));
    EXPECT_EQ(shown(list), QStringList{QStringLiteral("Beta")});
    list.setFilter(QString());
    EXPECT_EQ(list.shownCount(), 4);

    // Selection speaks of the list's rows.
    list.setFilter(QStringLiteral("alpha"));
    QSignalSpy selections(&list, &ListView::selectItem);
    list.selectRow(2);
    ASSERT_EQ(selections.size(), 1);
    EXPECT_EQ(selections[0][0].toInt(), 2);
    EXPECT_TRUE(selections[0][1].toBool());
    EXPECT_EQ(list.selectedRow(), 2);
    const auto *view = static_cast<const QAbstractItemView *>(list.activeView());
    EXPECT_EQ(view->currentIndex().row(), 1);
    // A hidden row cannot be selected.
    list.selectRow(1);
    EXPECT_EQ(list.selectedRow(), 2);
    // Narrowing the filter keeps the selected row, without telling it again.
    list.setFilter(QStringLiteral("alphab"));
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_EQ(selections.size(), 1);
    // A filter that hides it drops it, as a reset does: no signal.
    list.setFilter(QStringLiteral("beta"));
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(selections.size(), 1);
}

// Rows added, changed, sorted and removed under a filter are filtered too.
TEST(ListViewFilter, FollowsChangesOfTheList)
{
    Lists l;
    ListView &list = l.list;
    list.setFilter(QStringLiteral("a"));
    EXPECT_EQ(list.shownCount(), 4);
    list.setFilter(QStringLiteral("alpha"));
    EXPECT_EQ(list.addItem(item("Delta")), 4);
    EXPECT_EQ(list.addItem(item("Alphorn Alpha")), 5);
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Alpha"), QStringLiteral("alphabet"), QStringLiteral("Alphorn Alpha")}));
    list.setItem(1, item("Beta Alpha"));
    list.setItem(0, item("Omega"));
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Beta Alpha"), QStringLiteral("alphabet"), QStringLiteral("Alphorn Alpha")}));
    list.sort([](const ListView::Item &a, const ListView::Item &b) { return a.caption.compare(b.caption, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("alphabet"), QStringLiteral("Alphorn Alpha"), QStringLiteral("Beta Alpha")}));
    list.removeItem(0);
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Alphorn Alpha"), QStringLiteral("Beta Alpha")}));
    list.beginUpdate();
    list.clear();
    list.addItem(item("alpha one"));
    list.addItem(item("two"));
    list.endUpdate();
    EXPECT_EQ(shown(list), QStringList{QStringLiteral("alpha one")});
    EXPECT_EQ(list.filter(), QStringLiteral("alpha"));
}
