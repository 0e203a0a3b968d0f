// SPDX-License-Identifier: MIT
#include "FileHelpers.h"
#include "FolderBrowser.h"
#include "FontFormatBuilders.h"
#include "FormFixture.h"
#include "ListView.h"
#include "InstalledFontsList.h"
#include "SameGlyphs.h"
#include "NativeFile.h"
#include "StartupArguments.h"
#include "TFormPreviewUi.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString selectedFileName(FormFixture &f)
{
    ListView *list = f.form->ui().FilesBrowse;
    const int row = list->selectedRow();
    if (row < 0)
        return {};
    const ListView::Item &item = list->item(row);
    return item.name.isEmpty() ? item.caption + item.subItems.value(0) : item.name;
}

}

TEST(StartupArguments, PlanForFilesFoldersAndRefusals)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("plan"));
    const QString font = placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), folder, QStringLiteral("sans.ttf"));
    QFile text(folder + QStringLiteral("notes.ttf"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a font");
    text.close();

    StartupPlan plan = planStartup({}, folder);
    EXPECT_EQ(plan.kind, StartupPlan::Kind::Nothing);

    plan = planStartup({QStringLiteral("sans.ttf")}, folder);
    EXPECT_EQ(plan.kind, StartupPlan::Kind::FontFile);
    EXPECT_EQ(plan.path, font);
    EXPECT_FALSE(plan.install);
    EXPECT_TRUE(plan.message.isEmpty());

    plan = planStartup({font, QStringLiteral("install")}, QStringLiteral("/"));
    EXPECT_TRUE(plan.install);
    // Any other second word only previews, as it always did.
    plan = planStartup({font, QStringLiteral("Install")}, QStringLiteral("/"));
    EXPECT_FALSE(plan.install);
    EXPECT_TRUE(plan.others.isEmpty());
    EXPECT_TRUE(plan.message.isEmpty());

    const QString other = placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder, QStringLiteral("b.ttf"));
    plan = planStartup({font, QStringLiteral("b.ttf"), QStringLiteral("nothing.ttf"), QStringLiteral("/dev/null")}, folder);
    EXPECT_EQ(plan.others, QStringList({other, QStringLiteral("/dev/null")}));
    EXPECT_EQ(plan.message, QStringLiteral("Glyvanta previews one font at a time: ") + font + QStringLiteral(" is shown. These files were not opened:\n")
                                + other + QStringLiteral("\n/dev/null"));

    plan = planStartup({folder.chopped(1)}, QStringLiteral("/"));
    EXPECT_EQ(plan.kind, StartupPlan::Kind::Folder);
    EXPECT_EQ(plan.path, folder);

    plan = planStartup({QStringLiteral("none.ttf")}, folder);
    EXPECT_EQ(plan.kind, StartupPlan::Kind::Refused);
    EXPECT_EQ(plan.message, QStringLiteral("Cannot open ") + folder + QStringLiteral("none.ttf: there is no such file or folder."));
    plan = planStartup({folder + QStringLiteral("notes.ttf")}, QStringLiteral("/"));
    EXPECT_EQ(plan.message, QStringLiteral("Cannot open ") + folder + QStringLiteral("notes.ttf: it is not a font file."));
    plan = planStartup({QStringLiteral("/dev/null")}, QStringLiteral("/"));
    EXPECT_EQ(plan.message, QStringLiteral("Cannot open /dev/null: it is not a regular file."));

    // An archive, by its name, as a drop tells one; a FIFO of that name is refused unread.
    QFile archive(folder + QStringLiteral("fonts.ZIP"));
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    archive.close();
    plan = planStartup({QStringLiteral("fonts.ZIP")}, folder);
    EXPECT_EQ(plan.kind, StartupPlan::Kind::Archive);
    EXPECT_EQ(plan.path, folder + QStringLiteral("fonts.ZIP"));
    ASSERT_EQ(::mkfifo(nativePath(folder + QStringLiteral("pipe.zip")).constData(), 0600), 0);
    plan = planStartup({QStringLiteral("pipe.zip")}, folder);
    EXPECT_EQ(plan.kind, StartupPlan::Kind::Refused);
    EXPECT_EQ(plan.message, QStringLiteral("Cannot open ") + folder + QStringLiteral("pipe.zip: it is not a regular file."));
    QFile::remove(folder + QStringLiteral("pipe.zip"));
}

TEST(StartupArguments, WindowSelectsTheFileOpensAFolderAndTellsRefusals)
{
    TestEnvironment::instance().resetUserFiles();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("startup"));
    placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), folder, QStringLiteral("a-sans.ttf"));
    const QString serif = placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSerif.ttf")), folder, QStringLiteral("b-serif.ttf"));
    QDir().mkpath(folder + QStringLiteral("sub"));
    placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf")), folder + QStringLiteral("sub/"), QStringLiteral("mono.ttf"));
    {
        // The previewed file is the selected row, not the first one.
        FormFixture f({serif}, false);
        f.show();
        EXPECT_TRUE(f.prompter.messages().empty());
        EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder);
        EXPECT_EQ(selectedFileName(f), QStringLiteral("b-serif.ttf"));
        EXPECT_EQ(f.form->ui().StatusPanels[1]->text(), QStringLiteral("b-serif.ttf"));
        EXPECT_EQ(f.form->ui().StatusPanels[3]->text(), QStringLiteral("DejaVu Serif"));
        // The installed list read in the background ends later: the sample keeps the file's face
        // and does not take the list's first font.
        f.form->installedFonts().waitUntilLoaded();
        QCoreApplication::processEvents();
        QString why;
        EXPECT_TRUE(drawsFileGlyphs(f.form->ui().Preview->font(), FontFormatBuilders::fileBytesOf(serif), 0, 24, &why)) << why.toStdString();
    }
    {
        // A folder is opened itself, not its parent.
        FormFixture f({folder + QStringLiteral("sub")}, false);
        f.show();
        EXPECT_TRUE(f.prompter.messages().empty());
        EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder + QStringLiteral("sub/"));
        EXPECT_EQ(f.form->activeView(), 0);
        ListView *list = f.form->ui().FilesBrowse;
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0).caption, QStringLiteral(".."));
        EXPECT_EQ(list->item(1).caption + list->item(1).subItems.value(0), QStringLiteral("mono.ttf"));
    }
    {
        // A missing file is told and the window starts as without it: in the folder of the last run.
        FormFixture f({folder + QStringLiteral("gone.ttf")}, false);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.show();
        ASSERT_EQ(f.prompter.messages().size(), 1u);
        EXPECT_EQ(f.prompter.messages()[0].text, QStringLiteral("Cannot open ") + folder + QStringLiteral("gone.ttf: there is no such file or folder."));
        EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Error);
        EXPECT_EQ(f.form->folderBrowser().CurrentFolder, folder + QStringLiteral("sub/"));
    }
    {
        // Several files: the first is shown, the others are named.
        FormFixture f({serif, folder + QStringLiteral("a-sans.ttf")}, false);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.show();
        ASSERT_EQ(f.prompter.messages().size(), 1u);
        EXPECT_EQ(f.prompter.messages()[0].text, otherFilesMessage(serif, {folder + QStringLiteral("a-sans.ttf")}));
        EXPECT_EQ(f.prompter.messages()[0].icon, MessageIcon::Information);
        EXPECT_EQ(selectedFileName(f), QStringLiteral("b-serif.ttf"));
    }
}
