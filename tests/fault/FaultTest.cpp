// SPDX-License-Identifier: MIT
// What a full disk, a source lost half-way and a kill before the rename do to the commands
// that write files: each one fails, says so, and leaves neither a partial file nor a lost one.
// And what a pipe, a device or a huge file chosen as a sample text does: it is refused at once.
#include "ArchiveBrowser.h"
#include "AtomicFile.h"
#include "FaultHelpers.h"
#include "FaultSystem.h"
#include "FileHelpers.h"
#include "FileOperations.h"
#include "FileTransfer.h"
#include "FolderBrowser.h"
#include "FormFixture.h"
#include "Installer.h"
#include "ListHelpers.h"
#include "ListView.h"
#include "NativeFile.h"
#include "ReportView.h"
#include "SpecialFiles.h"
#include "TFormConfig.h"
#include "TextSample.h"
#include "TFormFontInstall.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
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

QString makeFont(const QString &folder, const QString &name)
{
    return placeCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), folder, name);
}

// A font big enough that its copy takes many reads.
QString makeBigFont(const QString &folder, const QString &name)
{
    return placeCopy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), folder, name);
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
    f.form->fontLoader().CurrentFont.FontFilePath = font;

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
        f.form->fontLoader().CurrentFont.FontFilePath = far;
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
    ListView *files = f.form->ui().FilesBrowse;
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
    f.form->ui().FontsList->selectRow(0);
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("full-report"));
    f.prompter.willChooseFile(folder + QStringLiteral("report.rtf"));
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        FullDisk full;
        actionNamed(*f.form, QStringLiteral("SaveAs1"))->trigger();
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
    ListView *files = f.form->ui().FilesBrowse;
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
    f.form->fontLoader().CurrentFont.FontFilePath = folder + QStringLiteral("gone.ttf");
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

TEST(VanishingSource, ACopyWhoseSourceFailsOrShrinksHalfWayLeavesNoFileAndTells)
{
    FormFixture f;
    f.show();
    const QString source = TestEnvironment::instance().makeFolder(QStringLiteral("vanish-src"));
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("vanish-dst"));
    const QString font = makeBigFont(source, QStringLiteral("big.ttf"));
    const QByteArray original = fileBytes(font);
    f.form->fontLoader().CurrentFont.FontFilePath = font;

    // The medium goes away after the first 100 000 bytes.
    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        fault::ReadFaultGuard pulled(font, 100000, fault::ReadFault::Error);
        f.form->fileOperations().PopCopyToClick();
        EXPECT_TRUE(pulled.fired());
    }
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("copy"), font, target + QStringLiteral("big.ttf"), QStringLiteral("Input/output error")));
    EXPECT_TRUE(entriesOf(target).isEmpty());
    EXPECT_EQ(fileBytes(font), original);

    // Another program cuts the file short while it is read: not a whole copy, so none.
    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        fault::ReadFaultGuard cut(font, 100000, fault::ReadFault::Truncate);
        f.form->fileOperations().PopCopyToClick();
        EXPECT_TRUE(cut.fired());
    }
    EXPECT_EQ(f.prompter.messages().back().text,
              transferMessage(QStringLiteral("copy"), font, target + QStringLiteral("big.ttf"), QStringLiteral("the file became shorter while it was being copied")));
    EXPECT_TRUE(entriesOf(target).isEmpty());
}

TEST(VanishingSource, AMoveAcrossFileSystemsKeepsTheSourceUnlessTheCopyIsWhole)
{
    FormFixture f;
    f.show();
    const QString target = TestEnvironment::instance().makeFolder(QStringLiteral("vanish-move"));
    const QString other = QStringLiteral("/dev/shm/glyvanta-vanish-") + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('/');
    struct stat here {}, there {};
    if (!QDir().mkpath(other) || ::stat(QFile::encodeName(target).constData(), &here) != 0 ||
        ::stat(QFile::encodeName(other).constData(), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    const QString far = makeBigFont(other, QStringLiteral("far.ttf"));
    const QByteArray original = fileBytes(far);
    f.form->fontLoader().CurrentFont.FontFilePath = far;

    f.prompter.willChooseFolder(target);
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        fault::ReadFaultGuard pulled(far, 300000, fault::ReadFault::Error);
        f.form->fileOperations().PopMoveToClick();
        EXPECT_TRUE(pulled.fired());
    }
    EXPECT_EQ(f.prompter.messages().back().text, transferMessage(QStringLiteral("move"), far, target + QStringLiteral("far.ttf"), QStringLiteral("Input/output error")));
    EXPECT_EQ(fileBytes(far), original);
    EXPECT_TRUE(entriesOf(target).isEmpty());

    // Deleted by someone else half-way: the open file still reads whole, the move completes
    // and a source already gone is no failure.
    const size_t told = f.prompter.messages().size();
    f.prompter.willChooseFolder(target);
    {
        fault::ReadFaultGuard deleted(far, 300000, fault::ReadFault::Unlink);
        f.form->fileOperations().PopMoveToClick();
        EXPECT_TRUE(deleted.fired());
    }
    EXPECT_EQ(f.prompter.messages().size(), told);
    EXPECT_EQ(fileBytes(target + QStringLiteral("far.ttf")), original);
    EXPECT_FALSE(QFile::exists(far));
    QDir(other).removeRecursively();
}

TEST(VanishingSource, InstallAndArchiveExtractionFailCleanly)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("vanish-install"));
    const QString font = makeBigFont(folder, QStringLiteral("big.ttf"));
    f.form->folderBrowser().ListFolder(folder);
    ListView *files = f.form->ui().FilesBrowse;
    files->selectRow(rowOf(files, QStringLiteral("big")));
    f.prompter.willRunDialog(installByCopy());
    f.prompter.willAnswer(MessageAnswer::Ok);
    const auto recorded = f.fontsKey.readString(QStringLiteral("DejaVu Sans (TrueType)"));
    {
        fault::ReadFaultGuard pulled(font, 200000, fault::ReadFault::Error);
        f.form->installer().Install1Click();
        EXPECT_TRUE(pulled.fired());
    }
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Unable to install the font."));
    // The test environment's own DejaVu Sans stays what the value names.
    EXPECT_EQ(f.fontsKey.readString(QStringLiteral("DejaVu Sans (TrueType)")), recorded);
    EXPECT_TRUE(entriesOf(f.paths.systemFontsFolder).isEmpty());

    // The archive's medium goes away while an entry is extracted for the preview.
    ZipBuilder zip;
    zip.add("big.ttf", fileBytes(font));
    const QString archive = folder + QStringLiteral("fonts.zip");
    zip.write(archive);
    ArchiveBrowser &browser = f.form->archiveBrowser();
    browser.OpenArchive(archive);
    TFormPreviewUi &c = f.form->ui();
    ASSERT_EQ(c.ZipBrowse->count(), 2);
    const size_t told = f.prompter.messages().size();
    f.prompter.willAnswer(MessageAnswer::Ok);
    {
        fault::ReadFaultGuard pulled(archive, 0, fault::ReadFault::Error);
        c.ZipBrowse->selectRow(1);
        EXPECT_TRUE(pulled.fired());
    }
    ASSERT_EQ(f.prompter.messages().size(), told + 1);
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("cannot open archive: Premature end of file"));
    EXPECT_TRUE(f.form->archiveBrowser().ArchiveTempFile.isEmpty());
    EXPECT_EQ(c.StatusPanels[1]->text(), QStringLiteral("Default font"));
    EXPECT_TRUE(entriesOf(browser.extractionFolder()).isEmpty());
}

TEST(KilledBeforeRename, NeitherAStoreNorACopiedFileIsLeftHalfOrBeside)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("killed-rename"));
    const QString store = folder + QStringLiteral("favorites.ini");
    ASSERT_TRUE(writeFileAtomically(store, "old"));
    const QString copied = folder + QStringLiteral("copied.ttf");
    ASSERT_TRUE(writeFileAtomically(copied, "old font"));

    // Each child writes a whole new file and dies as it would put it in place.
    const std::function<void()> writes[] = {
        [&] { writeFileAtomically(store, QByteArray(100000, 'n')); },
        [&] { transferFile(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), copied, TransferMode::Copy, ReplaceExisting::Yes); },
        [&] { transferFile(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf")), folder + QStringLiteral("new.ttf"), TransferMode::Copy, ReplaceExisting::No); },
    };
    for (const auto &write : writes) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            fault::killAtNextRename();
            write();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child was not stopped at its rename";
    }
    EXPECT_EQ(fileBytes(store), QByteArray("old"));
    EXPECT_EQ(fileBytes(copied), QByteArray("old font"));
    EXPECT_EQ(entriesOf(folder), (QStringList{QStringLiteral("copied.ttf"), QStringLiteral("favorites.ini")}));
}

TEST(SpecialFiles, ASampleTextThatIsAPipeADeviceOrHugeIsRefusedAtOnce)
{
    FormFixture f;
    f.show();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("special-text"));
    const QString fifo = folder + QStringLiteral("pipe.txt");
    const QString zero = folder + QStringLiteral("zero.txt");
    const QString huge = folder + QStringLiteral("huge.txt");
    ASSERT_TRUE(makeFifo(fifo));
    ASSERT_TRUE(makeDeviceLink(zero));
    ASSERT_TRUE(makeSparseFile(huge, (qint64(16) << 20) + 1));
    const QString notAFile = QStringLiteral(": it is not a regular file but a folder, pipe, socket or device");
    const std::pair<QString, QString> cases[] = {
        {fifo, QStringLiteral("Cannot open file ") + fifo + notAFile},
        {zero, QStringLiteral("Cannot open file ") + zero + notAFile},
        {huge, QStringLiteral("Cannot open file ") + huge + QStringLiteral(": it is larger than 16 MB")},
        {folder + QStringLiteral("absent.txt"), QStringLiteral("Cannot open file ") + folder + QStringLiteral("absent.txt")},
    };
    FifoWatchdog watchdog({nativePath(fifo)});
    const QStringList before = f.form->textSample().lines();
    for (const auto &[path, message] : cases) {
        SCOPED_TRACE(path.toStdString());
        // The sample view's "Load..." and the Options dialog's.
        f.prompter.willChooseFile(path);
        f.prompter.willAnswer(MessageAnswer::Ok);
        actionNamed(*f.form, QStringLiteral("LoadText1"))->trigger();
        EXPECT_EQ(lastMessage(f.prompter), message);
        EXPECT_EQ(f.form->textSample().lines(), before);
        f.prompter.willChooseFile(path);
        f.prompter.willAnswer(MessageAnswer::Ok);
        f.form->guarded([&] { f.form->FormConfig->LoadTextClick(); });
        EXPECT_EQ(lastMessage(f.prompter), message);
    }
    EXPECT_FALSE(watchdog.stop()) << "a load waited on the FIFO";

    // A text within the limit loads.
    const QString text = folder + QStringLiteral("text.txt");
    ASSERT_TRUE(writeFileAtomically(text, "one\r\ntwo\r\n"));
    f.prompter.willChooseFile(text);
    actionNamed(*f.form, QStringLiteral("LoadText1"))->trigger();
    EXPECT_EQ(f.form->textSample().lines(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}
