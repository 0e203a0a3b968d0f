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

    // A favourite whose folder went: the list stays empty, nothing is said.
    QDir(folder).removeRecursively();
    favorites->actions()[0]->trigger();
    EXPECT_EQ(f.form->ui().FilesBrowse->count(), 0);
    EXPECT_TRUE(f.prompter.messages().empty());

    // Links open with the desktop's handler.
    QStringList opened;
    Desktop::setOpener([&](const QUrl &url) { opened << url.toString(); });
    menuNamed(*f.form, QStringLiteral("CoolLinks"))->actions()[0]->trigger();
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
    actionNamed(*f.form, QStringLiteral("Configure1"))->trigger();
    EXPECT_TRUE(ini.readSectionKeys(QStringLiteral("Links")).isEmpty());
    EXPECT_EQ(captions(menuNamed(*f.form, QStringLiteral("CoolLinks"))), (QStringList{QStringLiteral("-"), QStringLiteral("Configure...")}));
}

TEST(IniFile, SpecialAndOversizedFilesAreReadAsEmptyAndNeverWritten)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("ini-special"));
    const qint64 tooLarge = (qint64(32) << 20) + 1;
    struct Case {
        const char *name;
        std::function<bool(const QString &)> make;
        mode_t type;
    };
    const Case cases[] = {
        {"fifo.ini", makeFifo, S_IFIFO},
        {"zero.ini", makeDeviceLink, S_IFLNK},
        {"huge.ini", [&](const QString &path) { return makeSparseFile(path, tooLarge); }, S_IFREG},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder + QString::fromLatin1(c.name);
        ASSERT_TRUE(c.make(path));
        FifoWatchdog watchdog({nativePath(path)});
        IniFile ini(path);
        EXPECT_TRUE(ini.readSectionKeys(QStringLiteral("Favorites")).isEmpty());
        EXPECT_FALSE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Home"), QStringLiteral("/home/")));
        EXPECT_FALSE(ini.eraseSection(QStringLiteral("Favorites")));
        EXPECT_FALSE(watchdog.stop()) << "the file was waited on";
        EXPECT_EQ(nodeType(path), c.type);
        if (c.type == S_IFREG)
            EXPECT_EQ(nodeSize(path), tooLarge);
    }

    // A file of a few MB is an ordinary one.
    const QString big = folder + QStringLiteral("big.ini");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tips]\r\n0=" + QByteArray(4 << 20, 't') + "\r\n");
    file.close();
    IniFile ini(big);
    EXPECT_EQ(ini.readString(QStringLiteral("Tips"), QStringLiteral("0"), QString()).size(), 4 << 20);
    EXPECT_TRUE(ini.writeString(QStringLiteral("Favorites"), QStringLiteral("Home"), QStringLiteral("/home/")));
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

TEST(IniFile, TwoProgramsWritingTheSameFileKeepEachOthersChanges)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("ini-shared")) + QStringLiteral("favorites.ini");
    {
        QFile seed(path);
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("[Favorites]\r\nOld=/old/\r\n");
    }
    // Both read the file at their start; each then adds, renames or erases.
    IniFile first(path);
    IniFile second(path);
    ASSERT_TRUE(first.writeString(QStringLiteral("Favorites"), QStringLiteral("First"), QStringLiteral("/1/")));
    ASSERT_TRUE(second.writeString(QStringLiteral("Favorites"), QStringLiteral("Second"), QStringLiteral("/2/")));
    ASSERT_TRUE(first.writeString(QStringLiteral("Links"), QStringLiteral("Link"), QStringLiteral("https://example.org/")));
    ASSERT_TRUE(second.writeString(QStringLiteral("Favorites"), QStringLiteral("old"), QStringLiteral("/older/")));
    const QByteArray expected = "[Favorites]\r\nold=/older/\r\nFirst=/1/\r\nSecond=/2/\r\n\r\n[Links]\r\nLink=https://example.org/\r\n";
    EXPECT_EQ(fileBytes(path), expected);
    EXPECT_EQ(second.readSectionKeys(QStringLiteral("Links")), QStringList{QStringLiteral("Link")});
    ASSERT_TRUE(first.eraseSection(QStringLiteral("Links")));
    EXPECT_EQ(IniFile(path).readSectionKeys(QStringLiteral("Favorites")),
              (QStringList{QStringLiteral("old"), QStringLiteral("First"), QStringLiteral("Second")}));

    // Programs that write at the same moment lose nothing either.
    constexpr int kWriters = 4, kEach = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&path, w] {
            IniFile own(path);
            for (int i = 0; i < kEach; ++i)
                own.writeString(QStringLiteral("Favorites"), QStringLiteral("w%1-%2").arg(w).arg(i), QStringLiteral("/%1/").arg(i));
        });
    }
    for (std::thread &writer : writers)
        writer.join();
    EXPECT_EQ(IniFile(path).readSectionKeys(QStringLiteral("Favorites")).size(), 3 + kWriters * kEach);
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

TEST(IniFile, EveryCharacterAndNameByteRoundTrips)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("ini-unicode")) + QStringLiteral("favorites.ini");
    const QString title = QString::fromUcs4(U"Fonts \U0001F600 \U00020000");
    const QString folder = pathFromNative("/home/user/bad\xff\xc3 fonts \xf0\x9f\x98\x80/");
    {
        IniFile ini(path);
        ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), title, folder));
        ASSERT_TRUE(ini.writeString(QStringLiteral("Favorites"), pathFromNative("raw\xfe"), QStringLiteral("50%xFF")));
    }
    EXPECT_TRUE(fileBytes(path).contains("Fonts \xf0\x9f\x98\x80 \xf0\xa0\x80\x80=/home/user/bad%xFF%xC3 fonts \xf0\x9f\x98\x80/\r\n"));
    IniFile reread(path);
    EXPECT_EQ(reread.readSectionKeys(QStringLiteral("Favorites")), (QStringList{title, pathFromNative("raw\xfe")}));
    EXPECT_EQ(reread.readString(QStringLiteral("Favorites"), title, QString()), folder);
    EXPECT_EQ(reread.readString(QStringLiteral("Favorites"), pathFromNative("raw\xfe"), QString()), QStringLiteral("50%xFF"));
}
