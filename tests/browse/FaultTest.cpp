// SPDX-License-Identifier: MIT
// What a full disk does to the commands that write files: each one fails, says so, and leaves
// neither a partial file nor a lost one.
#include "AtomicFile.h"
#include "FileOperations.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "Installer.h"
#include "ListView.h"
#include "ReportView.h"
#include "TFormFontInstall.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// While it lives, no file may grow past a few bytes: the disk is full.
struct FullDisk {
    FullDisk()
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    rlimit m_saved{};
};

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString makeFont(const QString &folder, const QString &name)
{
    QFile::copy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), folder + name);
    return folder + name;
}

}

TEST(FullDisk, CopyAndMoveFailTellAndLeaveNoPartialFile)
{
    FormFixture f;
    f.show();
    const QString source = TestEnvironment::instance().makeFolder(QStringLiteral("full-src"));
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("full-dst"));
    const QString font = makeFont(source, QStringLiteral("font.ttf"));
    const qint64 size = QFileInfo(font).size();
    f.form->state().CurrentFont.FontFilePath = font;

    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        FullDisk full;
        f.form->fileOperations().PopCopyToClick();
    }
    EXPECT_TRUE(f.prompter.messages().back().text.startsWith(QStringLiteral("Could not copy ")));
    EXPECT_TRUE(entriesOf(target).isEmpty());
    EXPECT_EQ(QFileInfo(font).size(), size);

    // Across file systems a move copies first: the source stays when the copy cannot be made.
    const QString other = QStringLiteral("/dev/shm/glyvanta-full-") + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('/');
    if (QDir().mkpath(other)) {
        const QString far = makeFont(other, QStringLiteral("far.ttf"));
        f.form->state().CurrentFont.FontFilePath = far;
        f.prompter.willChooseFolder(target);
        f.prompter.willAnswer(MessageAnswer::Ok);
        {
            FullDisk full;
            f.form->fileOperations().PopMoveToClick();
        }
        EXPECT_TRUE(f.prompter.messages().back().text.startsWith(QStringLiteral("Could not move ")));
        EXPECT_EQ(QFileInfo(far).size(), size);
        EXPECT_TRUE(entriesOf(target).isEmpty());
        QDir(other).removeRecursively();
    }
}

TEST(FullDisk, InstallReportsAndRecordsNothing)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("full-install"));
    makeFont(folder, QStringLiteral("fixedsys.ttf"));
    f.form->folderBrowser().ListFolder(folder);
    ListView *files = f.form->controls().FilesBrowse;
    for (int i = 0; i < files->count(); ++i)
        if (files->item(i).caption == QLatin1String("fixedsys"))
            files->selectRow(i);
    f.prompter.willRunDialog([](QDialog &dialog) {
        auto &install = static_cast<TFormFontInstall &>(dialog);
        install.InstallTypeItems[1]->click();
        FullDisk full;
        install.OK->click();
        return install.result();
    });
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->installer().Install1Click();
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
    EXPECT_FALSE(f.fontsKey.readString(QStringLiteral("Fixedsys (TrueType)")).has_value());
    EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty());
}

TEST(FullDisk, SavingTheReportTellsAndLeavesNoFile)
{
    FormFixture f;
    f.show();
    f.form->Report2Click();
    f.form->controls().FontsList->selectRow(0);
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("full-report"));
    f.prompter.willChooseFile(folder + QStringLiteral("report.rtf"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        FullDisk full;
        f.form->action(QStringLiteral("SaveAs1"))->trigger();
    }
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot create file ") + folder + QStringLiteral("report.rtf"));
    EXPECT_TRUE(entriesOf(folder).isEmpty());
}

TEST(FullDisk, UnpackDragAndDeleteTellAndKeepEveryFile)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("fault-ops"));
    const QString font = makeFont(folder, QStringLiteral("font.ttf"));
    QDir().mkpath(folder + QStringLiteral("into"));
    makeFont(folder + QStringLiteral("into/"), QStringLiteral("font.ttf"));
    f.form->folderBrowser().ListFolder(folder);
    ListView *files = f.form->controls().FilesBrowse;
    int source = -1, target = -1;
    for (int i = 0; i < files->count(); ++i) {
        if (files->item(i).caption == QLatin1String("font"))
            source = i;
        if (files->item(i).caption == QLatin1String("into"))
            target = i;
    }
    // A drag onto a folder that holds the same name replaces nothing.
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().FilesBrowseDragDrop(source, target);
    EXPECT_TRUE(f.prompter.messages().back().text.startsWith(QStringLiteral("Could not move ")));
    EXPECT_TRUE(QFile::exists(font));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("into/font.ttf")));

    // A file gone before its delete is told.
    f.form->state().CurrentFont.FontFilePath = folder + QStringLiteral("gone.ttf");
    f.prompter.willAnswer(MessageAnswer::Yes);
    f.prompter.willAnswer(MessageAnswer::Ok);
    f.form->fileOperations().PopDeleteClick();
    EXPECT_TRUE(f.prompter.messages().back().text.startsWith(QStringLiteral("Could not delete ")));
}

TEST(KilledWriter, AStoreIsEitherTheOldOrTheNewFileNeverAPart)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("killed")) + QStringLiteral("registry.reg");
    const qsizetype size = 4 * 1024 * 1024;
    ASSERT_TRUE(writeFileAtomically(path, QByteArray(size, '0')));
    for (int round = 0; round < 5; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Rewrites the file over and over until it is killed.
            for (int i = 1;; ++i)
                writeFileAtomically(path, QByteArray(size, static_cast<char>('0' + i % 10)));
        }
        usleep(20000 + round * 7000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        ASSERT_EQ(content.size(), size);
        EXPECT_EQ(content.count(content[0]), size) << "a mixed file after round " << round;
    }
}
