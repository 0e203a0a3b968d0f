// SPDX-License-Identifier: MIT
#include "Desktop.h"
#include "FolderBrowser.h"
#include "FileHelpers.h"
#include "FormFixture.h"
#include "IniFile.h"
#include "ListView.h"
#include "NativeFile.h"
#include "OrganizerDialogs.h"
#include "SpecialFiles.h"
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
#include <functional>
#include <thread>
#include <vector>

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

TEST(UserMenus, AddOpenAndRebuildTheFavourites)
{
    FormFixture f;
    f.show();
    UserMenus &menus = f.form->userMenus();
    QMenu *favorites = f.form->findChild<QMenu *>(QStringLiteral("PopupFavorites"));
    EXPECT_EQ(captions(favorites), (QStringList{QStringLiteral("-"), QStringLiteral("Add current dir"), QStringLiteral("Configure...")}));
    // The shipped links are there from the first start.
    EXPECT_EQ(captions(menuNamed(*f.form, QStringLiteral("CoolLinks"))).first(), QStringLiteral("Open Font Library"));

    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("/home/user/fonts/new/")), QStringLiteral("new"));
    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(UserMenus::titleFor(QStringLiteral("fonts")), QStringLiteral("fonts"));

    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("favourite folder"));
    f.form->folderBrowser().ListFolder(folder);
    f.prompter.willEnterText(QStringLiteral("My & fonts"));
    actionNamed(*f.form, QStringLiteral("BtnFavorites"))->trigger();
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Add to favorites"));
    EXPECT_EQ(f.prompter.asked().back().label, QStringLiteral("New title for menu entry:"));
    EXPECT_EQ(f.prompter.asked().back().initial, QStringLiteral("favourite folder"));
    f.form->folderBrowser().ListFolder(QStringLiteral("fonts"));
    f.prompter.willEnterText(QStringLiteral("fonts"));
    actionNamed(*f.form, QStringLiteral("PopAddCurrDortoFav"))->trigger();
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
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
    favorites->actions()[1]->trigger();
    EXPECT_EQ(f.form->activeView(), 1);

    // A favourite whose folder went is told, not shown as an empty folder.
    QDir(folder).removeRecursively();
    f.prompter.willAnswer(MessageAnswer::Ok);
    favorites->actions()[0]->trigger();
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The folder %1 does not exist.").arg(folder));

    // Links open with the desktop's handler.
    QStringList opened;
    Desktop::setOpener([&](const QUrl &url) { opened << url.toString(); return true; });
    menuNamed(*f.form, QStringLiteral("CoolLinks"))->actions()[0]->trigger();
    Desktop::setOpener([](const QUrl &) { return true; });
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
    actionNamed(*f.form, QStringLiteral("PopConfigFav"))->trigger();
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
        // Only a folder that exists is taken.
        const QString added = TestEnvironment::instance().makeFolder(QStringLiteral("added"));
        f.prompter.willRunDialog([added](QDialog &item) {
            auto &newItem = static_cast<TFormNewItem &>(item);
            EXPECT_EQ(newItem.windowTitle(), QStringLiteral("New Favorite"));
            EXPECT_EQ(newItem.LabelTitle->text(), QStringLiteral("Name:"));
            EXPECT_EQ(newItem.LabelValue->text(), QStringLiteral("Path:"));
            newItem.ItemTitle->setText(QStringLiteral("added"));
            newItem.ItemValue->setText(added);
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
    actionNamed(*f.form, QStringLiteral("Configure1"))->trigger();
    EXPECT_TRUE(ini.readSectionKeys(QStringLiteral("Links")).isEmpty());
    EXPECT_EQ(captions(menuNamed(*f.form, QStringLiteral("CoolLinks"))), (QStringList{QStringLiteral("-"), QStringLiteral("Configure...")}));
}

TEST(UserMenus, AFavouritesFileThatIsAFifoIsToldOnceAndLeftAsItIs)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.configFolder);
    ASSERT_TRUE(makeFifo(paths.favoritesIni()));
    FifoWatchdog watchdog({nativePath(paths.favoritesIni())});
    FormFixture f({}, false);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.show();
    f.prompter.willEnterText(QStringLiteral("mine"));
    f.form->userMenus().PopAddCurrDortoFavClick();
    f.form->userMenus().RebuildUserMenus();
    EXPECT_FALSE(watchdog.stop()) << "the favourites file was waited on";
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text,
              QStringLiteral("The favourites file %1 could not be read (it is not a regular file but a folder, pipe, socket or device). It is "
                             "left as it is, and changes to the favourites and links are not saved.")
                  .arg(paths.favoritesIni()));
    EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(captions(f.form->findChild<QMenu *>(QStringLiteral("PopupFavorites"))),
              (QStringList{QStringLiteral("-"), QStringLiteral("Add current dir"), QStringLiteral("Configure...")}));
    EXPECT_EQ(nodeType(paths.favoritesIni()), mode_t(S_IFIFO));
}

TEST(UserMenus, TwoRunningProgramsEachAddAFavouriteAndBothRemain)
{
    FormFixture first;
    first.show();
    FormFixture second({}, false);
    second.show();
    const QString one = TestEnvironment::instance().makeFolder(QStringLiteral("one"));
    const QString two = TestEnvironment::instance().makeFolder(QStringLiteral("two"));
    first.form->folderBrowser().ListFolder(one);
    second.form->folderBrowser().ListFolder(two);
    first.prompter.willEnterText(QStringLiteral("one"));
    first.form->userMenus().PopAddCurrDortoFavClick();
    second.prompter.willEnterText(QStringLiteral("two"));
    second.form->userMenus().PopAddCurrDortoFavClick();
    IniFile stored(first.paths.favoritesIni());
    EXPECT_EQ(stored.readSectionKeys(QStringLiteral("Favorites")), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    // The links and tips of the shipped file are kept by both.
    EXPECT_FALSE(stored.readSectionKeys(QStringLiteral("Links")).isEmpty());
    EXPECT_FALSE(stored.readSectionKeys(QStringLiteral("Tips")).isEmpty());
    // The first program's menu shows the second's favourite at its next rebuild.
    first.form->userMenus().RebuildUserMenus();
    EXPECT_EQ(captions(first.form->findChild<QMenu *>(QStringLiteral("PopupFavorites"))).mid(0, 2),
              (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

