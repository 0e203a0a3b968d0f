// SPDX-License-Identifier: MIT
// The window as a new user meets it: keys for every main task, the archive list read at its
// default width, failures that say so, and sizes that follow the content and the screen.
#include "ArchiveBrowser.h"
#include "CaptionDelegate.h"
#include "Desktop.h"
#include "ElidedLabel.h"
#include "FileHelpers.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "IniFile.h"
#include "ListHelpers.h"
#include "ListView.h"
#include "OrganizerDialogs.h"
#include "TFormFontInstall.h"
#include "UserMenus.h"
#include "ZipBuilder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("(none)");
    // The lists' inner views are named by their list.
    if (auto *list = qobject_cast<ListView *>(w->parentWidget()))
        return list->objectName() + (qobject_cast<QTreeView *>(w) ? QStringLiteral(".report") : QStringLiteral(".icons"));
    if (qobject_cast<QTabBar *>(w))
        return QStringLiteral("TabsPreviewModes.tabs");
    return w->objectName();
}

// A key as the user presses it: to the widget that has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    QCoreApplication::processEvents();
}

void activate(FormFixture &f)
{
    f.form->activateWindow();
    QApplication::setActiveWindow(f.form.get());
    QCoreApplication::processEvents();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct FailingOpener {
    FailingOpener() { Desktop::setOpener([this](const QUrl &url) { asked << url.toString(); return false; }); }
    ~FailingOpener() { Desktop::setOpener([](const QUrl &) { return true; }); }
    QStringList asked;
};

}

TEST(Keyboard, ModeKeysFocusTheirPageAndTabMovesOn)
{
    FormFixture f;
    f.show();
    activate(f);
    TFormPreviewUi &c = f.form->ui();
    c.Preview->setFocus();
    const QString text = c.Preview->toPlainText();

    // Each view key leaves the focus in the page it shows.
    const std::pair<int, const char *> steps[] = {
        {Qt::Key_F6, "CharactersPreview"}, {Qt::Key_F7, "ReportEdit"}, {Qt::Key_F5, "Preview"}, {Qt::Key_F6, "CharactersPreview"}};
    for (const auto &[key, expected] : steps) {
        press(key);
        EXPECT_EQ(focusName(), QString::fromLatin1(expected)) << "after key " << key;
    }
    // The arrows move over the map, not over the font list.
    const int row = c.FontsList->selectedRow();
    const int cell = c.CharactersPreview->currentColumn();
    press(Qt::Key_Right);
    EXPECT_EQ(c.CharactersPreview->currentColumn(), cell + 1);
    EXPECT_EQ(c.FontsList->selectedRow(), row);

    // Tab leaves the sample text without typing into it; Shift+Tab comes back.
    press(Qt::Key_F5);
    press(Qt::Key_Tab);
    EXPECT_EQ(c.Preview->toPlainText(), text);
    EXPECT_NE(focusName(), QStringLiteral("Preview"));
    EXPECT_EQ(focusName(), QStringLiteral("SelectCharset"));
    // Tab walks the navigation box, then the tabs, then the page.
    c.DisksBrowse->setFocus();
    // The four view style buttons are one stop: the pressed one.
    const char *walk[] = {"ButtonvsIcons", "FontsList.icons", "SelectExt", "TabsPreviewModes.tabs", "Preview"};
    // The Fonts view hides the filter panel: Tab passes it by.
    for (const char *expected : walk) {
        if (QString::fromLatin1(expected) == QLatin1String("SelectExt") && !c.SelectExt->isVisible())
            continue;
        press(Qt::Key_Tab);
        EXPECT_EQ(focusName(), QString::fromLatin1(expected));
    }
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(), QStringLiteral("TabsPreviewModes.tabs"));
    EXPECT_EQ(c.Preview->toPlainText(), text);
}

namespace {
// HOME for a window made while this lives: the drive box's first entry.
struct HomeFolder {
    explicit HomeFolder(const QString &folder)
        : previous(qgetenv("HOME"))
    {
        qputenv("HOME", folder.toUtf8());
    }
    ~HomeFolder() { qputenv("HOME", previous); }
    QByteArray previous;
};
}

TEST(Keyboard, BrowsePreviewInstallUninstallAndOptionsByKeys)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("keys"));
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder + QStringLiteral("Serif.ttf"));
    QDir().mkdir(folder + QStringLiteral("sub"));
    HomeFolder home(QDir(folder).absolutePath());
    FormFixture f;
    f.show();
    activate(f);
    TFormPreviewUi &c = f.form->ui();

    // From the sample text Tab goes round to the toolbar's fields, then the drive box.
    c.Preview->setFocus();
    QStringList expected;
    if (c.SelectCharset->isEnabled())
        expected << QStringLiteral("SelectCharset");
    expected << QStringLiteral("FontSize") << QStringLiteral("CopyBuff") << QStringLiteral("DisksBrowse");
    for (const QString &name : expected) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focusName(), name);
    }
    // Home picks the first entry, the home folder, and its list takes the focus.
    press(Qt::Key_Home);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
    EXPECT_EQ(focusName(), QStringLiteral("FilesBrowse.icons"));
    // Over to the font: it is previewed, and Ins installs it.
    const int font = rowOf(c.FilesBrowse, QStringLiteral("Serif"));
    ASSERT_GE(font, 0);
    for (int guard = 0; c.FilesBrowse->selectedRow() != font && guard < 10; ++guard)
        press(c.FilesBrowse->selectedRow() < font ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Serif.ttf"));
    f.form->SysTimerTimer();
    ASSERT_TRUE(c.Install1->isEnabled());
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        install.OK->click();
        return install.result();
    });
    f.prompter.willAnswer(MessageAnswer::Ok);
    press(Qt::Key_Insert);
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("Serif.ttf")));
    // The installed list is read again in the background after an install.
    f.form->installedFonts().waitUntilLoaded();

    // Enter on a folder opens it.
    activate(f);
    c.FilesBrowse->focusList();
    const int sub = rowOf(c.FilesBrowse, QStringLiteral("sub"));
    for (int guard = 0; c.FilesBrowse->selectedRow() != sub && guard < 10; ++guard)
        press(c.FilesBrowse->selectedRow() < sub ? Qt::Key_Right : Qt::Key_Left);
    press(Qt::Key_Return);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder + QStringLiteral("sub/"));
    EXPECT_EQ(focusName(), QStringLiteral("FilesBrowse.icons"));

    // Back to the drive box: End is the Fonts view; Tab to its list, Del asks to uninstall.
    for (int i = 0; i < 2; ++i)
        press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(), QStringLiteral("DisksBrowse"));
    press(Qt::Key_End);
    EXPECT_EQ(f.form->activeView(), 1);
    f.form->installedFonts().waitUntilLoaded();
    // The view style buttons: the arrows go over to the report style, then Tab on to the list.
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("ButtonvsIcons"));
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Right);
    EXPECT_EQ(focusName(), QStringLiteral("ButtonvsReport"));
    if (!c.ViewStyleButtons[3]->isChecked())
        press(Qt::Key_Space);
    EXPECT_EQ(c.FontsList->viewStyle(), ListView::ViewStyle::Report);
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("FontsList.report"));
    // The list came in the background: nothing is selected yet, and Home alone would not move.
    press(Qt::Key_Down);
    press(Qt::Key_Home);
    EXPECT_EQ(c.FontsList->selectedRow(), 0);
    f.form->SysTimerTimer();
    f.prompter.clear();
    ASSERT_TRUE(c.Uninstall1->isEnabled());
    // The first row is a font of the system's: Del says so instead of asking.
    f.prompter.willAnswer(MessageAnswer::Ok);
    press(Qt::Key_Delete);
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_TRUE(f.prompter.messages()[0].text.endsWith(
        QStringLiteral(" is a system font. System fonts are managed by the system and cannot be uninstalled here.")));

    // Ctrl+S opens the options in the text sample.
    press(Qt::Key_F5);
    QString shown;
    f.prompter.willRunDialog([&](QDialog &dialog) {
        shown = dialog.objectName();
        return ModalResult::Cancel;
    });
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shown, QStringLiteral("TFormConfig"));
}

TEST(Keyboard, FavouritesMenuOpensByItsKey)
{
    FormFixture f;
    f.show();
    activate(f);
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("kept"));
    f.form->favoritesIni().writeString(QStringLiteral("Favorites"), QStringLiteral("kept"), folder);
    f.form->userMenus().RebuildUserMenus();
    c.Preview->setFocus();

    press(Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(c.PopupFavorites->isVisible());
    ASSERT_NE(c.PopupFavorites->activeAction(), nullptr);
    EXPECT_EQ(c.PopupFavorites->activeAction()->text(), QStringLiteral("kept"));
    QTest::keyClick(c.PopupFavorites, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(c.PopupFavorites->isVisible());
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
}

namespace {

// An archive whose entries share a long folder part, as font packages store them.
struct LongNamesArchive : FormFixture {
    LongNamesArchive()
    {
        show();
        folder = TestEnvironment::instance().makeFolder(QStringLiteral("long-names"));
        ZipBuilder zip;
        const QByteArray bytes = fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")));
        for (const char *face : {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-BoldOblique", "DejaVuSans-ExtraLight", "DejaVuSans-Oblique",
                                 "DejaVuSansCondensed", "DejaVuSansCondensed-Bold", "DejaVuSansCondensed-BoldOblique",
                                 "DejaVuSansCondensed-Oblique", "DejaVuSansMono", "DejaVuSansMono-Bold", "DejaVuSansMono-BoldOblique",
                                 "DejaVuSansMono-Oblique", "DejaVuSerif", "DejaVuSerif-Bold", "DejaVuSerif-BoldItalic", "DejaVuSerif-Italic",
                                 "DejaVuSerifCondensed", "DejaVuSerifCondensed-Bold", "DejaVuSerifCondensed-BoldItalic",
                                 "DejaVuSerifCondensed-Italic", "DejaVuMathTeXGyre", "DejaVuSans-Light"})
            zip.add(QByteArray("usr/share/fonts/truetype/dejavu/") + face + ".ttf", bytes);
        archive = folder + QStringLiteral("dejavu.zip");
        zip.write(archive);
        form->folderBrowser().ListFolder(folder);
        form->archiveBrowser().OpenArchive(archive);
    }
    QString folder;
    QString archive;
};

}

TEST(ArchiveView, LongStoredNamesReadApartAndShowInFull)
{
    LongNamesArchive f;
    TFormPreviewUi &c = f.form->ui();
    ListView *list = c.ZipBrowse;
    ASSERT_EQ(list->count(), 24);
    EXPECT_EQ(list->captionElideMode(), Qt::ElideLeft);
    // In every style the captions, cut to the width they are drawn in, read apart; the
    // tooltip gives the whole stored name.
    for (int style = 0; style < 4; ++style) {
        f.form->folderBrowser().setViewStyle(style);
        QCoreApplication::processEvents();
        auto *view = static_cast<QAbstractItemView *>(list->activeView());
        EXPECT_EQ(view->textElideMode(), Qt::ElideLeft) << "style " << style;
        QStringList shown;
        for (int row = 1; row < list->count(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            if (auto *captions = qobject_cast<CaptionDelegate *>(view->itemDelegate())) {
                // Large icons: the caption's lines under the icon, as they are drawn.
                EXPECT_EQ(style, 0);
                QStyleOptionViewItem option;
                option.rect = view->visualRect(index);
                option.decorationSize = view->iconSize();
                option.font = view->font();
                option.fontMetrics = view->fontMetrics();
                option.textElideMode = view->textElideMode();
                option.widget = view;
                const QStringList lines = captions->linesFor(option, index);
                EXPECT_LE(lines.size(), 3);
                for (const QString &line : lines)
                    EXPECT_LE(view->fontMetrics().horizontalAdvance(line), option.rect.width());
                shown << lines.join(QLatin1Char('|'));
                continue;
            }
            // Beside a small icon.
            const int width = view->visualRect(index).width() - (16 + 12);
            shown << view->fontMetrics().elidedText(index.data().toString(), Qt::ElideLeft, width);
            EXPECT_EQ(index.data(Qt::ToolTipRole).toString(), list->item(row).name);
            EXPECT_TRUE(index.data(Qt::ToolTipRole).toString().startsWith(QLatin1String("usr\\share\\fonts\\truetype\\dejavu\\")));
        }
        if (style == 3) {
            // The Name column stays within the view, so the captions' ends show.
            auto *tree = static_cast<QTreeView *>(view);
            EXPECT_LE(tree->columnWidth(0), tree->viewport()->width());
        }
        EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), shown.size()) << "style " << style << ": " << shown.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(list->item(0).caption, QStringLiteral(" .."));
    auto *view = static_cast<QAbstractItemView *>(list->activeView());
    EXPECT_EQ(view->model()->index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral(" .."));
}

TEST(ArchiveView, PathFieldUnpackAndInstallFromMenuAndKeys)
{
    LongNamesArchive f;
    activate(f);
    TFormPreviewUi &c = f.form->ui();
    EXPECT_EQ(c.EditFileName->text(), f.archive);
    const int row = rowOf(c.ZipBrowse, QStringLiteral("usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans-Bold"));
    ASSERT_GT(row, 0);
    c.ZipBrowse->selectRow(row);
    EXPECT_EQ(c.EditFileName->text(), f.archive + QStringLiteral("/usr/share/fonts/truetype/dejavu/"));
    EXPECT_EQ(focusName(), QStringLiteral("ZipBrowse.icons"));

    // The File menu offers the archive's commands; Unpack to here says where the file went.
    c.File1->popup(QPoint(0, 0));
    emit c.File1->aboutToShow();
    f.form->SysTimerTimer();
    EXPECT_TRUE(c.UnpackHere->isVisible());
    EXPECT_TRUE(c.UnpackHere->isEnabled());
    c.File1->hide();
    c.UnpackHere->trigger();
    EXPECT_TRUE(QFile::exists(f.folder + QStringLiteral("DejaVuSans-Bold.ttf")));
    EXPECT_EQ(c.StatusPanels[0]->text(), QStringLiteral("Unpacked to ") + f.folder);

    // Ins in the archive list installs the entry, as the popup's Install does.
    f.form->SysTimerTimer();
    c.ZipBrowse->focusList();
    EXPECT_EQ(focusName(), QStringLiteral("ZipBrowse.icons"));
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        install.OK->click();
        return install.result();
    });
    f.prompter.willAnswer(MessageAnswer::Ok);
    press(Qt::Key_Insert);
    ASSERT_FALSE(f.prompter.messages().empty());
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("The font have been installed succesfully."));
    EXPECT_TRUE(QFile::exists(f.paths.systemFontsFolder + QStringLiteral("DejaVuSans-Bold.ttf")));

    // On the way back Ins does nothing; Enter goes back to the folder, whose path shows again.
    f.prompter.clear();
    c.ZipBrowse->selectRow(0);
    activate(f);
    c.ZipBrowse->focusList();
    EXPECT_EQ(c.EditFileName->text(), f.archive);
    press(Qt::Key_Insert);
    EXPECT_TRUE(f.prompter.messages().empty());
    press(Qt::Key_Return);
    EXPECT_EQ(c.EditFileName->text(), f.folder);
    EXPECT_EQ(focusName(), QStringLiteral("FilesBrowse.icons"));
}

TEST(SilentFailures, LinksAndHelpWithoutABrowserSaySo)
{
    FormFixture f;
    f.show();
    FailingOpener opener;
    IniFile &ini = f.form->favoritesIni();
    ini.eraseSection(QStringLiteral("Links"));
    ini.writeString(QStringLiteral("Links"), QStringLiteral("Library"), QStringLiteral("https://fontlibrary.org/"));
    f.form->userMenus().RebuildUserMenus();

    const std::pair<QAction *, QString> cases[] = {
        {menuNamed(*f.form, QStringLiteral("CoolLinks"))->actions()[0],
         QStringLiteral("Could not open https://fontlibrary.org/: no web browser or other program for it is available.")},
        {actionNamed(*f.form, QStringLiteral("Contents1")),
         QStringLiteral("Could not open %1: no web browser or other program for it is available.").arg(f.paths.helpPage())},
        {actionNamed(*f.form, QStringLiteral("Website1")),
         QStringLiteral("Could not open https://glyvanta.example.org/?item=website: no web browser or other program for it is available.")},
    };
    for (const auto &[item, text] : cases) {
        f.prompter.clear();
        f.prompter.willAnswer(MessageAnswer::Ok);
        item->trigger();
        ASSERT_EQ(f.prompter.messages().size(), 1u) << item->objectName().toStdString();
        EXPECT_EQ(f.prompter.messages()[0].text, text);
        EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
    }
    EXPECT_EQ(opener.asked.size(), 3);
}

TEST(SilentFailures, FavouriteFoldersThatDoNotExist)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("gone"));
    IniFile &ini = f.form->favoritesIni();
    ini.writeString(QStringLiteral("Favorites"), QStringLiteral("gone"), folder);
    ini.writeString(QStringLiteral("Favorites"), QStringLiteral("installed"), QStringLiteral("fonts"));
    f.form->userMenus().RebuildUserMenus();
    QDir(folder).removeRecursively();

    // Chosen: told, and the list shown before stays.
    const int shown = c.FontsList->count();
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.PopupFavorites->actions()[0]->trigger();
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("The folder %1 does not exist.").arg(folder));
    EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
    EXPECT_EQ(c.FontsList->count(), shown);
    // "fonts" is the installed-fonts view, always there.
    f.prompter.clear();
    c.PopupFavorites->actions()[1]->trigger();
    EXPECT_TRUE(f.prompter.messages().empty());
    EXPECT_EQ(f.form->activeView(), 1);

    // Added in the organiser: refused with the same words; "fonts" and real folders are taken.
    const QString real = TestEnvironment::instance().makeFolder(QStringLiteral("real"));
    f.prompter.clear();
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &org = static_cast<TFormFavOrg &>(dialog);
        const std::tuple<QString, QString, bool> typed[] = {{QStringLiteral("nowhere"), folder, false},
                                                             {QStringLiteral("relative"), QStringLiteral("real"), false},
                                                             {QStringLiteral("fonts"), QStringLiteral("fonts"), true},
                                                             {QStringLiteral("real"), real, true}};
        for (const auto &[title, path, taken] : typed) {
            const int before = org.rowCount();
            if (!taken)
                f.prompter.willAnswer(MessageAnswer::Ok);
            f.prompter.willRunDialog([&](QDialog &newItem) {
                auto &item = static_cast<TFormNewItem &>(newItem);
                item.ItemTitle->setText(title);
                item.ItemValue->setText(path);
                return ModalResult::Ok;
            });
            org.AddClick();
            EXPECT_EQ(org.rowCount(), before + (taken ? 1 : 0)) << path.toStdString();
        }
        return ModalResult::Ok;
    });
    actionNamed(*f.form, QStringLiteral("PopConfigFav"))->trigger();
    ASSERT_EQ(f.prompter.messages().size(), 2u);
    EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("The folder %1 does not exist.").arg(folder));
    EXPECT_EQ(f.prompter.messages()[1].text, QStringLiteral("The folder real does not exist."));
    EXPECT_EQ(ini.readSectionKeys(QStringLiteral("Favorites")),
              (QStringList{QStringLiteral("gone"), QStringLiteral("installed"), QStringLiteral("fonts"), QStringLiteral("real")}));
}

TEST(SilentFailures, AFileThatCannotBeShownSaysWhy)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("broken"));
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder + QStringLiteral("good.ttf"));
    writeFile(folder + QStringLiteral("broken.ttf"), QByteArray("this is not a font"));

    // A good font first, so that its names are in the status bar.
    f.form->loadFontFromPath(folder + QStringLiteral("good.ttf"));
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("good.ttf"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));

    // Selected in the folder list: the status bar tells, no box.
    f.form->folderBrowser().ListFolder(folder);
    f.prompter.willAnswer(MessageAnswer::Ok);
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("broken")));
    const QString notAFont = QStringLiteral("Cannot show %1: it is not a font file that can be shown.").arg(folder + QStringLiteral("broken.ttf"));
    const QStringList cleared{notAFont, QStringLiteral("Default font"), QString(), QString()};
    auto panels = [&] {
        QStringList out;
        for (QLabel *panel : c.StatusPanels)
            out << panel->text();
        return out;
    };
    if (f.prompter.messages().empty())
        EXPECT_EQ(panels(), cleared);
    else
        EXPECT_EQ(panels()[0], f.prompter.messages().back().text);   // the loader named the reason itself
    EXPECT_EQ(panels().mid(1), cleared.mid(1));

    // Loaded by File > Load: a box as well.
    const std::pair<QString, QString> loads[] = {
        {folder + QStringLiteral("broken.ttf"), notAFont},
        {folder + QStringLiteral("missing.ttf"), QStringLiteral("Cannot show %1: the file does not exist.").arg(folder + QStringLiteral("missing.ttf"))}};
    for (const auto &[path, text] : loads) {
        f.form->loadFontFromPath(folder + QStringLiteral("good.ttf"));
        f.prompter.clear();
        f.prompter.willChooseFile(path);
        f.prompter.willAnswer(MessageAnswer::Ok);
        actionNamed(*f.form, QStringLiteral("Open1"))->trigger();
        ASSERT_EQ(f.prompter.messages().size(), 1u) << path.toStdString();
        if (path.endsWith(QLatin1String("missing.ttf"))) {
            EXPECT_EQ(f.prompter.messages()[0].text, text);
        }
        EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
        EXPECT_EQ(panels()[0], f.prompter.messages()[0].text);
        EXPECT_EQ(panels().mid(1), cleared.mid(1));
    }
}

TEST(Layout, DesignSizeGrowsWithTheScreenAndElides)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    EXPECT_EQ(f.form->size(), QSize(709, 629).expandedTo(f.form->minimumSizeHint()));
    EXPECT_GE(f.form->width(), f.form->minimumSizeHint().width());
    // Smaller than the content needs is refused.
    f.form->resize(200, 150);
    EXPECT_GE(f.form->width(), f.form->minimumSizeHint().width());
    EXPECT_GE(f.form->height(), f.form->minimumSizeHint().height());

    f.form->resize(709, 629);
    QCoreApplication::processEvents();
    const int navigation = c.BoxFilesBrowse->width();
    const int pages = c.TabsPreviewModes->width();
    f.form->resize(1920, 1080);
    QCoreApplication::processEvents();
    EXPECT_GT(c.BoxFilesBrowse->width(), navigation + 200);
    EXPECT_GT(c.TabsPreviewModes->width(), pages + 400);

    // The report style's Name column takes its content and the width left over.
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("wide"));
    const QString longName = QStringLiteral("A font file with a name much longer than the column it starts in");
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder + longName + QStringLiteral(".ttf"));
    f.form->folderBrowser().ListFolder(folder);
    f.form->folderBrowser().setViewStyle(3);
    QCoreApplication::processEvents();
    auto *tree = qobject_cast<QTreeView *>(c.FilesBrowse->activeView());
    ASSERT_NE(tree, nullptr);
    EXPECT_GE(tree->columnWidth(0), tree->fontMetrics().horizontalAdvance(longName));
    EXPECT_GE(tree->columnWidth(0) + tree->columnWidth(1), tree->viewport()->width() - 1);
    // Large icons keep both ends of a long caption.
    f.form->folderBrowser().setViewStyle(0);
    EXPECT_EQ(c.FilesBrowse->captionElideMode(), Qt::ElideMiddle);

    // A status text too long for its panel ends in "…" and stays whole underneath.
    f.form->resize(709, 629);
    QCoreApplication::processEvents();
    const QString longText = QStringLiteral("A hint that is much longer than the panel can show at the window's design size, so it is cut");
    auto *hint = qobject_cast<ElidedLabel *>(c.StatusPanels[0]);
    ASSERT_NE(hint, nullptr);
    hint->setText(longText);
    EXPECT_EQ(hint->text(), longText);
    EXPECT_TRUE(hint->shownText().endsWith(QStringLiteral("…")));
    EXPECT_TRUE(longText.startsWith(hint->shownText().chopped(1)));
    EXPECT_LE(f.form->minimumSizeHint().width(), 709);
}
