// SPDX-License-Identifier: MIT
#include "FileOperations.h"
#include "FileHelpers.h"
#include "FileTransfer.h"
#include "FolderBrowser.h"
#include "FolderListing.h"
#include "FormFixture.h"
#include "ListHelpers.h"
#include "ListView.h"
#include "NativeFile.h"
#include "SpecialFiles.h"
#include "TOverwritePromt.h"

#include <QAction>
#include <QComboBox>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path, const QByteArray &content = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

// A folder with one of each kind, hidden ones and files no filter takes.
QString sampleFolder()
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("browse"));
    for (const char *name : {"A.TTF", "B.ZIP", "x.001", ".fon", "z.fon", "a.ttf", "readme.txt", "noext", ".hidden.ttf", "data.zip"})
        touch(folder + QString::fromLatin1(name));
    QDir().mkpath(folder + QStringLiteral("sub"));
    QDir().mkpath(folder + QStringLiteral(".config"));
    return folder;
}

// The row whose file on disk has these bytes as its name, or -1.
int rowOfName(const ListView *list, const QByteArray &name)
{
    for (int i = 0; i < list->count(); ++i)
        if (nativePath(list->item(i).name) == name)
            return i;
    return -1;
}

// The content of a file named by its bytes, or "(missing)".
QByteArray bytesAt(const QByteArray &path)
{
    const std::optional<QByteArray> content = readRegularFile(pathFromNative(path), 1 << 24);
    return content ? *content : QByteArray("(missing)");
}

QStringList captions(const ListView *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i).caption + list->item(i).subItems.value(0);
    return out;
}


}

TEST(FolderBrowser, ListsNavigatesAndSwitchesViews)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    FolderBrowser &browser = f.form->folderBrowser();
    const QString folder = sampleFolder();
    browser.drives = [folder] {
        return std::vector<DriveEntry>{{QStringLiteral("Home (/home/user)"), QStringLiteral("/home/user/")},
                                       {QStringLiteral("Work (") + folder + QLatin1Char(')'), folder}};
    };

    ASSERT_TRUE(browser.GoToFolder(folder + QStringLiteral("sub")));
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder + QStringLiteral("sub/"));
    EXPECT_EQ(c.EditFileName->text(), folder + QStringLiteral("sub/"));
    EXPECT_EQ(f.form->activeView(), 0);
    EXPECT_FALSE(c.PanelSelectExt->isHidden());
    EXPECT_EQ(c.DisksBrowse->currentText(), QStringLiteral("Work (") + folder + QLatin1Char(')'));
    EXPECT_EQ(c.DisksBrowse->itemText(c.DisksBrowse->count() - 1), QStringLiteral("Fonts"));

    // ".." by Enter goes up and comes back as a clean path.
    c.FilesBrowse->selectRow(0);
    emit c.FilesBrowse->keyPress(QChar(13));
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
    EXPECT_EQ(captions(c.FilesBrowse).mid(0, 4), (QStringList{QStringLiteral(".. "), QStringLiteral(".config "), QStringLiteral("sub "), QStringLiteral("B ")}));

    // A folder that cannot be read leaves the list empty and the folder as it was.
    EXPECT_FALSE(browser.ListFolder(folder + QStringLiteral("missing")));
    EXPECT_EQ(c.FilesBrowse->count(), 0);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);

    // The filter lists again.
    browser.ListFolder(folder);
    c.SelectExt->setCurrentIndex(1);
    browser.SelectExtChange();
    EXPECT_EQ(rowOf(c.FilesBrowse, QStringLiteral("A")), -1);
    EXPECT_GE(rowOf(c.FilesBrowse, QStringLiteral("z")), 0);
    c.SelectExt->setCurrentIndex(2);
    browser.SelectExtChange();

    // "fonts" in any case in the path field, and the Fonts entry of the drive box.
    c.EditFileName->setText(QStringLiteral("FONTS"));
    browser.EditFileNameKeyPress(QChar(13));
    EXPECT_EQ(f.form->activeView(), 1);
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, QStringLiteral("fonts"));
    EXPECT_TRUE(c.PanelSelectExt->isHidden());
    EXPECT_TRUE(c.Uninstall1->isEnabled());
    EXPECT_FALSE(c.Install1->isEnabled());
    c.EditFileName->setText(folder);
    browser.EditFileNameKeyPress(QChar(13));
    EXPECT_EQ(f.form->activeView(), 0);
    c.EditFileName->setText(folder + QStringLiteral("nothing"));
    browser.EditFileNameKeyPress(QChar(13));
    EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);

    // The four view styles go to all three lists.
    for (int style = 0; style < 4; ++style) {
        browser.setViewStyle(style);
        for (ListView *list : {c.FilesBrowse, c.FontsList, c.ZipBrowse})
            EXPECT_EQ(static_cast<int>(list->viewStyle()), style);
    }

    // Selecting a font file loads it; a folder disables Install.
    const QString font = folder + QStringLiteral("real.ttf");
    QFile::remove(font);
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), font);
    browser.ListFolder(folder);
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("real")));
    EXPECT_EQ(f.form->fontLoader().CurrentFont.FontFilePath, font);
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));
    f.form->SysTimerTimer();
    EXPECT_TRUE(c.Install1->isEnabled());
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("sub")));
    EXPECT_FALSE(c.BtnInst->isEnabled());
}

TEST(FileOperations, CopyMoveWithEachOverwriteAnswer)
{
    FormFixture f;
    f.show();
    FileOperations &ops = f.form->fileOperations();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("ops"));
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("ops-target"));
    touch(folder + QStringLiteral("font.ttf"), "new");
    touch(target + QStringLiteral("font.ttf"), "old");
    touch(target + QStringLiteral("taken.ttf"), "taken");
    f.form->fontLoader().CurrentFont.FontFilePath = folder + QStringLiteral("font.ttf");
    auto contentOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };

    // Skip: both stay as they were; the prompt names the existing file first.
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &prompt = static_cast<TOverwritePromt &>(dialog);
        EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Overwrite"));
        EXPECT_EQ(prompt.FileFrom->text(), QStringLiteral("Overwrite: ") + target + QStringLiteral("font.ttf"));
        EXPECT_EQ(prompt.FileTo->text(), QStringLiteral("With file: ") + folder + QStringLiteral("font.ttf?"));
        EXPECT_TRUE(prompt.InfoFrom->text().startsWith(QStringLiteral("3 Byte, ")));
        return 3;
    });
    actionNamed(*f.form, QStringLiteral("CopyTo"))->trigger();
    EXPECT_EQ(f.prompter.asked()[0].caption, QStringLiteral("Copy to..."));
    EXPECT_EQ(contentOf(target + QStringLiteral("font.ttf")), QByteArray("old"));

    // Rename to a name that also exists copies nothing; to a free one copies there.
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([](QDialog &) { return 4; });
    f.prompter.willEnterText(QStringLiteral("taken.ttf"));
    ops.PopCopyToClick();
    EXPECT_EQ(contentOf(target + QStringLiteral("taken.ttf")), QByteArray("taken"));
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Rename"));
    EXPECT_EQ(f.prompter.asked().back().label, QStringLiteral("New name:"));
    EXPECT_EQ(f.prompter.asked().back().initial, QStringLiteral("font.ttf"));
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([](QDialog &) { return 4; });
    f.prompter.willEnterText(QStringLiteral("renamed.ttf"));
    ops.PopCopyToClick();
    EXPECT_EQ(contentOf(target + QStringLiteral("renamed.ttf")), QByteArray("new"));

    // Overwrite replaces; a move then leaves no source.
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([](QDialog &) { return 5; });
    ops.PopMoveToClick();
    EXPECT_EQ(f.prompter.asked().back().caption, QStringLiteral("Move to..."));
    EXPECT_EQ(contentOf(target + QStringLiteral("font.ttf")), QByteArray("new"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("font.ttf")));

    // Closing the prompt another way is Skip; cancelling the picker does nothing.
    touch(folder + QStringLiteral("font.ttf"), "again");
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([](QDialog &) { return ModalResult::Cancel; });
    ops.PopMoveToClick();
    EXPECT_EQ(contentOf(folder + QStringLiteral("font.ttf")), QByteArray("again"));
    f.prompter.willChooseFolder(std::nullopt);
    ops.PopCopyToClick();

    // A failure is told.
    f.prompter.willChooseFolder(target);
    f.form->fontLoader().CurrentFont.FontFilePath = folder + QStringLiteral("vanished.ttf");
    f.prompter.willAnswer(MessageAnswer::Ok);
    ops.PopCopyToClick();
    ASSERT_EQ(f.prompter.messages().size(), 1u);
    EXPECT_TRUE(f.prompter.messages()[0].text.startsWith(QStringLiteral("Could not copy ")));
}

TEST(FileOperations, DeleteDragPopupAndFileMenu)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    FolderBrowser &browser = f.form->folderBrowser();
    FileOperations &ops = f.form->fileOperations();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("ops2"));
    QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder + QStringLiteral("serif.ttf"));
    touch(folder + QStringLiteral("other.ttf"));
    touch(folder + QStringLiteral("pack.zip"));
    QDir().mkpath(folder + QStringLiteral("into"));
    QDir().mkpath(folder + QStringLiteral("movedfolder"));
    browser.ListFolder(folder);

    // Dragging a file onto a folder moves it there; dropping on a file or itself does nothing.
    ops.FilesBrowseDragDrop(rowOf(c.FilesBrowse, QStringLiteral("other")), rowOf(c.FilesBrowse, QStringLiteral("serif")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("other.ttf")));
    ops.FilesBrowseDragDrop(rowOf(c.FilesBrowse, QStringLiteral("other")), rowOf(c.FilesBrowse, QStringLiteral("into")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("into/other.ttf")));
    EXPECT_EQ(rowOf(c.FilesBrowse, QStringLiteral("other")), -1);
    ops.FilesBrowseDragDrop(rowOf(c.FilesBrowse, QStringLiteral("pack")), rowOf(c.FilesBrowse, QStringLiteral("into")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("into/pack.zip")));
    ops.FilesBrowseDragDrop(rowOf(c.FilesBrowse, QStringLiteral("movedfolder")), rowOf(c.FilesBrowse, QStringLiteral("into")));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("into/movedfolder")).isDir());
    ops.FilesBrowseDragDrop(rowOf(c.FilesBrowse, QStringLiteral("into")), rowOf(c.FilesBrowse, QStringLiteral("..")));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("into")).isDir());

    // The popup shows its items only for a font file.
    QMenu *popup = f.form->findChild<QMenu *>(QStringLiteral("PopupFilesBrowse"));
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("into")));
    ops.PopupFilesBrowsePopup();
    const QList<QAction *> items = popup->actions();
    EXPECT_TRUE(std::none_of(items.begin(), items.end(), [](QAction *a) { return a->isVisible(); }));
    c.FilesBrowse->selectRow(rowOf(c.FilesBrowse, QStringLiteral("serif")));
    ops.PopupFilesBrowsePopup();
    EXPECT_TRUE(std::all_of(items.begin(), items.end(), [](QAction *a) { return a->isVisible(); }));

    ops.File1Click();
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("CopyTo"))->isVisible());
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("Unpack"))->isVisible());
    c.FilesBrowse->setCollapsed(true);
    c.ZipBrowse->setCollapsed(false);
    ops.File1Click();
    EXPECT_FALSE(actionNamed(*f.form, QStringLiteral("CopyTo"))->isVisible());
    EXPECT_TRUE(actionNamed(*f.form, QStringLiteral("UnpackHere"))->isVisible());
    c.ZipBrowse->setCollapsed(true);
    c.FilesBrowse->setCollapsed(false);

    // Delete asks with the bare name; No keeps the file, Yes deletes and lists again.
    f.prompter.willAnswer(MessageAnswer::No);
    ops.PopDeleteClick();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Do you really want to delete the selected file serif.ttf"));
    EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Confirmation);
    EXPECT_EQ(f.prompter.messages().back().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("serif.ttf")));
    EXPECT_TRUE(f.catalogue.isTemporary(folder + QStringLiteral("serif.ttf")));
    f.prompter.willAnswer(MessageAnswer::Yes);
    ops.PopDeleteClick();
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("serif.ttf")));
    EXPECT_FALSE(f.catalogue.isTemporary(folder + QStringLiteral("serif.ttf")));
    EXPECT_EQ(rowOf(c.FilesBrowse, QStringLiteral("serif")), -1);
}

TEST(FolderBrowser, NamesThatAreNotUtf8KeepTheirOwnFiles)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    FolderBrowser &browser = f.form->folderBrowser();
    FileOperations &ops = f.form->fileOperations();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("undecodable"));
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("undecodable-target"));
    const QByteArray base = nativePath(folder), targetBase = nativePath(target);
    // Both show as "bad\uFFFD": the first is not UTF-8, the second holds a real U+FFFD.
    const QByteArray invalid = "bad\xff.ttf", replacement = "bad\xef\xbf\xbd.ttf";
    const QByteArray font = fileBytes(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")));
    for (const QByteArray &name : {invalid, replacement}) {
        const int fd = ::open((base + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray content = font + name;   // two real fonts, told apart by their tails
        ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
        ::close(fd);
    }
    ASSERT_EQ(::mkdir((base + "sub\xfe").constData(), 0755), 0);

    // The listing keeps each name's own bytes; the captions show alike.
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(listFolderEntries(folder, 2, entries));
    QList<QByteArray> names;
    for (const FolderEntry &e : entries)
        names << nativePath(e.fileName);
    EXPECT_TRUE(names.contains(invalid) && names.contains(replacement) && names.contains("sub\xfe")) << names.join(' ').toHex().constData();
    ASSERT_TRUE(browser.ListFolder(folder));
    const int first = rowOfName(c.FilesBrowse, invalid), second = rowOfName(c.FilesBrowse, replacement);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_EQ(c.FilesBrowse->item(first).caption, QStringLiteral("bad\uFFFD"));
    EXPECT_EQ(c.FilesBrowse->item(second).caption, QStringLiteral("bad\uFFFD"));

    // Selecting a row previews its own path.
    c.FilesBrowse->selectRow(first);
    EXPECT_EQ(nativePath(f.form->fontLoader().CurrentFont.FontFilePath), base + invalid);
    c.FilesBrowse->selectRow(second);
    EXPECT_EQ(nativePath(f.form->fontLoader().CurrentFont.FontFilePath), base + replacement);

    // Copy: the right file arrives under its own bytes, and no prompt for the other name.
    c.FilesBrowse->selectRow(first);
    f.prompter.willChooseFolder(target);
    ops.PopCopyToClick();
    EXPECT_EQ(bytesAt(targetBase + invalid), font + invalid);
    EXPECT_EQ(bytesAt(targetBase + replacement), QByteArray("(missing)"));
    c.FilesBrowse->selectRow(second);
    f.prompter.willChooseFolder(target);
    ops.PopCopyToClick();
    EXPECT_EQ(bytesAt(targetBase + replacement), font + replacement);
    // Copying again asks about that file, naming it as it shows.
    f.prompter.willChooseFolder(target);
    f.prompter.willRunDialog([&](QDialog &dialog) {
        auto &prompt = static_cast<TOverwritePromt &>(dialog);
        EXPECT_EQ(prompt.FileFrom->text(), QStringLiteral("Overwrite: ") + target + QStringLiteral("bad\uFFFD.ttf"));
        EXPECT_TRUE(prompt.InfoFrom->text().startsWith(FormatByteCount(font.size() + replacement.size()) + QStringLiteral("Byte, ")));
        return 3;
    });
    ops.PopCopyToClick();

    // Move takes the selected file and leaves the other.
    ::unlink((targetBase + invalid).constData());
    c.FilesBrowse->selectRow(first);
    f.prompter.willChooseFolder(target);
    ops.PopMoveToClick();
    EXPECT_EQ(bytesAt(targetBase + invalid), font + invalid);
    EXPECT_EQ(bytesAt(base + invalid), QByteArray("(missing)"));
    EXPECT_EQ(bytesAt(base + replacement), font + replacement);

    // Move it back, then drag it into the folder whose name is not UTF-8 either.
    ASSERT_TRUE(transferFile(target + pathFromNative(invalid), folder + pathFromNative(invalid), TransferMode::Move, ReplaceExisting::No).ok);
    browser.ListFolder(folder);
    ops.FilesBrowseDragDrop(rowOfName(c.FilesBrowse, invalid), rowOfName(c.FilesBrowse, "sub\xfe"));
    EXPECT_EQ(bytesAt(base + "sub\xfe/" + invalid), font + invalid);
    EXPECT_EQ(bytesAt(base + replacement), font + replacement);
    ASSERT_TRUE(transferFile(folder + pathFromNative("sub\xfe/" + invalid), folder + pathFromNative(invalid), TransferMode::Move,
                             ReplaceExisting::No).ok);
    browser.ListFolder(folder);

    // Delete removes the selected file only.
    c.FilesBrowse->selectRow(rowOfName(c.FilesBrowse, invalid));
    f.prompter.willAnswer(MessageAnswer::Yes);
    ops.PopDeleteClick();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Do you really want to delete the selected file bad\uFFFD.ttf"));
    EXPECT_EQ(bytesAt(base + invalid), QByteArray("(missing)"));
    EXPECT_EQ(bytesAt(base + replacement), font + replacement);
    EXPECT_EQ(rowOfName(c.FilesBrowse, invalid), -1);
    EXPECT_GE(rowOfName(c.FilesBrowse, replacement), 0);

    // Properties, where no file manager answers, are those of the selected file.
    if (!QDBusConnection::sessionBus().isConnected()) {
        ::truncate((base + replacement).constData(), 1234);
        // Cut short, it is no font any more: loading it says so.
        f.prompter.willAnswer(MessageAnswer::Ok);
        c.FilesBrowse->selectRow(rowOfName(c.FilesBrowse, replacement));
        ASSERT_FALSE(f.prompter.messages().empty());
        EXPECT_EQ(f.prompter.messages().back().text,
                  QStringLiteral("Cannot load %1: it is not a font that can be shown, or it is damaged.").arg(folder + pathFromNative(replacement)));
        f.prompter.willAnswer(MessageAnswer::Ok);
        ops.PopFilePropertiesClick();
        EXPECT_TRUE(f.prompter.messages().back().text.startsWith(QStringLiteral("Name: bad\uFFFD.ttf\nFolder: ") + folder.chopped(1)
                                                                 + QStringLiteral("\nSize: 1 234 Byte\n")))
            << f.prompter.messages().back().text.toStdString();
    }
}

TEST(FileTransfer, PipesAndDevicesAreNeitherCopiedNorMoved)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("special"));
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("special-target"));
    ASSERT_TRUE(makeFifo(folder + QStringLiteral("x.ttf")));
    ASSERT_TRUE(makeDeviceLink(folder + QStringLiteral("y.fon")));
    const QString reason = QStringLiteral("it is not a regular file but a pipe, socket or device");

    // Listing them is fine.
    f.form->folderBrowser().ListFolder(folder);
    EXPECT_GE(rowOf(c.FilesBrowse, QStringLiteral("x")), 0);
    EXPECT_GE(rowOf(c.FilesBrowse, QStringLiteral("y")), 0);

    FifoWatchdog watchdog({nativePath(folder + QStringLiteral("x.ttf"))});
    for (const QString name : {QStringLiteral("x.ttf"), QStringLiteral("y.fon")}) {
        SCOPED_TRACE(name.toStdString());
        const QString source = folder + name;
        const TransferResult copied = transferFile(source, target + name, TransferMode::Copy, ReplaceExisting::No);
        EXPECT_FALSE(copied.ok);
        EXPECT_EQ(copied.error, reason);
        EXPECT_EQ(nodeType(target + name), mode_t(0));

        f.form->fontLoader().CurrentFont.FontFilePath = source;
        f.prompter.willChooseFolder(target);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.form->fileOperations().PopMoveToClick();
        EXPECT_EQ(lastMessage(f.prompter), QStringLiteral("Could not move %1 to %2: %3").arg(source, target + name, reason));
        EXPECT_EQ(nodeType(target + name), mode_t(0));
        f.prompter.willChooseFolder(target);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.form->fileOperations().PopCopyToClick();
        EXPECT_EQ(lastMessage(f.prompter), QStringLiteral("Could not copy %1 to %2: %3").arg(source, target + name, reason));
        EXPECT_TRUE(entriesOf(target).isEmpty());
    }
    EXPECT_FALSE(watchdog.stop()) << "a copy waited on the FIFO";
    EXPECT_EQ(nodeType(folder + QStringLiteral("x.ttf")), mode_t(S_IFIFO));
    EXPECT_EQ(nodeType(folder + QStringLiteral("y.fon")), mode_t(S_IFLNK));
}
