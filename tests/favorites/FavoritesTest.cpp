// SPDX-License-Identifier: MIT
#include "Desktop.h"
#include "FolderBrowser.h"
#include "FileHelpers.h"
#include "FormFixture.h"
#include "IniFile.h"
#include "ListView.h"
#include "OrganizerDialogs.h"
#include "UserMenus.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}

TEST(IniFile, KeepsOrderReplacesInPlaceAndLeavesOtherLines)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("ini")) + QStringLiteral("favorites.ini");
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write("; my favourites\r\n[Favorites]\r\nB=/b/\r\nA=/a/\r\n\r\n[Tips]\r\nCount=1\r\n0=tip\r\n");
    seed.close();
    IniFile ini(path);
    EXPECT_EQ(ini.readSectionKeys(QStringLiteral("favorites")), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("b"), QStringLiteral("/new/")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("C"), QStringLiteral("/c/")));
    EXPECT_EQ(fileBytes(path), QByteArray("; my favourites\r\n[Favorites]\r\nb=/new/\r\nA=/a/\r\nC=/c/\r\n\r\n[Tips]\r\nCount=1\r\n0=tip\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("Favorites"), QStringLiteral("B"), QString()), QStringLiteral("/new/"));

    // Titles with "=", a leading "[" or ";", "%" and line breaks come back as typed.
    const QStringList odd = {QStringLiteral("a=b"), QStringLiteral("[x]"), QStringLiteral(";c"), QStringLiteral("50%"), QStringLiteral(" lead"),
                             QStringLiteral("two\nlines")};
    for (const QString &title : odd)
        ASSERT_TRUE(ini.writeString(QStringLiteral("Links"), title, title + QStringLiteral(" = value%")));
    IniFile reread(path);
    EXPECT_EQ(reread.readSectionKeys(QStringLiteral("Links")), odd);
    for (const QString &title : odd)
        EXPECT_EQ(reread.readString(QStringLiteral("Links"), title, QString()), title + QStringLiteral(" = value%"));
    EXPECT_EQ(reread.readString(QStringLiteral("Tips"), QStringLiteral("0"), QString()), QStringLiteral("tip"));

    // One pass over a section gives what key-by-key reads give, a key written twice in another
    // case included: both rows read the first value.
    QFile twice(path + QStringLiteral(".twice"));
    ASSERT_TRUE(twice.open(QIODevice::WriteOnly));
    twice.write("[Favorites]\r\nHome=/one/\r\nnot an entry\r\nHOME=/two/\r\nWork=/w/\r\n[Links]\r\nx=y\r\n");
    twice.close();
    const IniFile duplicated(path + QStringLiteral(".twice"));
    using Entry = std::pair<QString, QString>;
    EXPECT_EQ(duplicated.readSection(QStringLiteral("FAVORITES")),
              (QList<Entry>{{QStringLiteral("Home"), QStringLiteral("/one/")}, {QStringLiteral("HOME"), QStringLiteral("/one/")}, {QStringLiteral("Work"), QStringLiteral("/w/")}}));
    EXPECT_EQ(duplicated.readString(QStringLiteral("Favorites"), QStringLiteral("HOME"), QString()), QStringLiteral("/one/"));
    EXPECT_TRUE(duplicated.readSection(QStringLiteral("Tips")).isEmpty());

    ASSERT_TRUE(reread.eraseSection(QStringLiteral("Links")));
    EXPECT_FALSE(IniFile(path).sectionExists(QStringLiteral("Links")));

    // A write that fails leaves the old file as it was.
    const QByteArray before = fileBytes(path);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = reread.writeString(QStringLiteral("Favorites"), QStringLiteral("D"), QStringLiteral("/d/"));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(reread.readString(QStringLiteral("Favorites"), QStringLiteral("D"), QStringLiteral("none")), QStringLiteral("none"));
}

TEST(UserMenus, AddOpenAndRebuildTheFavourites)
{
    FormFixture f;
    f.show();
    UserMenus &menus = f.form->userMenus();
    QMenu *favorites = f.form->findChild<QMenu *>(QStringLiteral("PopupFavorites"));
    EXPECT_EQ(captions(favorites), (QStringList{QStringLiteral("-"), QStringLiteral("Add current dir"), QStringLiteral("Configure...")}));
    // The shipped links are there from the first start.
    EXPECT_EQ(captions(f.form->menu(QStringLiteral("CoolLinks"))).first(), QStringLiteral("Open Font Library"));

    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("/home/user/fonts/new/")), QStringLiteral("new"));
    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("fonts")), QStringLiteral("fonts"));

    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("favourite folder"));
    f.form->folderBrowser().ListFolder(folder);
    f.prompter.willEnterText(QStringLiteral("My & fonts"));
    f.form->action(QStringLiteral("BtnFavorites"))->trigger();
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Add to favorites"));
    EXPECT_EQ(f.prompter.asked().back().label, QStringLiteral("New title for menu entry:"));
    EXPECT_EQ(f.prompter.asked().back().initial, QStringLiteral("favourite folder"));
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.prompter.willEnterText(QStringLiteral("fonts"));
    f.form->action(QStringLiteral("PopAddCurrDortoFav"))->trigger();
    EXPECT_EQ(f.prompter.asked().back().initial, QStringLiteral("fonts"));
    // The same title again replaces the path; the menu keeps one entry.
    f.prompter.willEnterText(QStringLiteral("fonts"));
    menus.PopAddCurrDortoFavClick();
    f.prompter.willEnterText(std::nullopt);
    menus.PopAddCurrDortoFavClick();
    EXPECT_EQ(captions(favorites), (QStringList{QStringLiteral("My && fonts"), QStringLiteral("fonts"), QStringLiteral("-"),
                                                QStringLiteral("Add current dir"), QStringLiteral("Configure...")}));
    EXPECT_EQ(favorites->actions()[0]->statusTip(), folder);

    favorites->actions()[0]->trigger();
    EXPECT_EQ(f.form->activeView(), 0);
    EXPECT_EQ(f.form->state().CurrentFolder, folder);
    favorites->actions()[1]->trigger();
    EXPECT_EQ(f.form->activeView(), 1);

    // A favourite whose folder went: the list stays empty, nothing is said.
    QDir(folder).removeRecursively();
    favorites->actions()[0]->trigger();
    EXPECT_EQ(f.form->controls().FilesBrowse->count(), 0);
    EXPECT_TRUE(f.prompter.messages().empty());

    // Links open with the desktop's handler.
    QStringList opened;
    Desktop::setOpener([&](const QUrl &url) { opened << url.toString(); });
    f.form->menu(QStringLiteral("CoolLinks"))->actions()[0]->trigger();
    Desktop::setOpener([](const QUrl &) {});
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://fontlibrary.org/")});
}

TEST(UserMenus, OrganisersMoveDeleteRenameAndOnlyOkWrites)
{
    FormFixture f;
    f.show();
    IniFile &ini = f.form->favoritesIni();
    ini.writeString(QStringLiteral("Favorites"), QStringLiteral("one"), QStringLiteral("/1/"));
    ini.writeString(QStringLiteral("Favorites"), QStringLiteral("two"), QStringLiteral("/2/"));
    ini.writeString(QStringLiteral("Favorites"), QStringLiteral("three"), QStringLiteral("/3/"));
    const QByteArray before = fileBytes(f.paths.favoritesIni());

    // Cancel after changes leaves file and menu as they were.
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &org = static_cast<TFormFavOrg &>(dialog);
        EXPECT_EQ(org.windowTitle(), QStringLiteral("Organize Favorites"));
        org.selectRow(0);
        org.DeleteClick();
        return ModalResult::Cancel;
    });
    f.form->action(QStringLiteral("PopConfigFav"))->trigger();
    EXPECT_EQ(fileBytes(f.paths.favoritesIni()), before);

    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &org = static_cast<TFormFavOrg &>(dialog);
        EXPECT_EQ(org.rowCount(), 3);
        org.selectRow(0);
        org.UpClick();                       // first row: nothing
        EXPECT_EQ(org.title(0), QStringLiteral("one"));
        org.DownClick();
        EXPECT_EQ(org.title(1), QStringLiteral("one"));
        EXPECT_EQ(org.selectedRow(), 1);
        org.selectRow(2);
        org.DownClick();                     // last row: nothing
        EXPECT_EQ(org.title(2), QStringLiteral("three"));
        org.DeleteClick();                   // the last row: the new last row is selected
        EXPECT_EQ(org.selectedRow(), 1);
        f.prompter.willEnterText(QStringLiteral("two"));
        org.RenameClick();                   // now two rows share a title
        EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Change title"));
        f.prompter.willRunDialog([](QDialog &item) {
            auto &newItem = static_cast<TFormNewItem &>(item);
            EXPECT_EQ(newItem.windowTitle(), QStringLiteral("New Favorite"));
            EXPECT_EQ(newItem.LabelTitle->text(), QStringLiteral("Name:"));
            EXPECT_EQ(newItem.LabelValue->text(), QStringLiteral("Path:"));
            newItem.ItemTitle->setText(QStringLiteral("added"));
            newItem.ItemValue->setText(QStringLiteral("/added/"));
            return ModalResult::Ok;
        });
        org.AddClick();
        return ModalResult::Ok;
    });
    f.form->userMenus().PopConfigFavClick();
    // The later row's path at the earlier row's place.
    EXPECT_EQ(ini.readSectionKeys(QStringLiteral("Favorites")), (QStringList{QStringLiteral("two"), QStringLiteral("added")}));
    EXPECT_EQ(ini.readString(QStringLiteral("Favorites"), QStringLiteral("two"), QString()), QStringLiteral("/1/"));
    EXPECT_EQ(captions(f.form->findChild<QMenu *>(QStringLiteral("PopupFavorites"))).mid(0, 2),
              (QStringList{QStringLiteral("two"), QStringLiteral("added")}));

    // The links organiser: deleting the only row leaves nothing selected.
    ini.eraseSection(QStringLiteral("Links"));
    ini.writeString(QStringLiteral("Links"), QStringLiteral("only"), QStringLiteral("https://example.org/"));
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &org = static_cast<TFormLinksOrg &>(dialog);
        EXPECT_EQ(org.windowTitle(), QStringLiteral("Organize Links"));
        org.selectRow(0);
        org.DeleteClick();
        EXPECT_EQ(org.rowCount(), 0);
        EXPECT_EQ(org.selectedRow(), -1);
        return ModalResult::Ok;
    });
    f.form->action(QStringLiteral("Configure1"))->trigger();
    EXPECT_TRUE(ini.readSectionKeys(QStringLiteral("Links")).isEmpty());
    EXPECT_EQ(captions(f.form->menu(QStringLiteral("CoolLinks"))), (QStringList{QStringLiteral("-"), QStringLiteral("Configure...")}));
}
