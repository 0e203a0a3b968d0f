// SPDX-License-Identifier: MIT
#include "FileTransfer.h"
#include "FolderListing.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("listing"));
    for (const char *name : {"A.TTF", "B.ZIP", "x.001", ".fon", "z.fon", "a.ttf", "readme.txt", "noext", ".hidden.ttf", "data.zip"})
        touch(folder + QString::fromLatin1(name));
    QDir().mkpath(folder + QStringLiteral("sub"));
    QDir().mkpath(folder + QStringLiteral(".config"));
    return folder;
}

QStringList rows(const std::vector<FolderEntry> &entries)
{
    QStringList out;
    for (const FolderEntry &e : entries)
        out << QStringLiteral("%1|%2|%3|%4").arg(e.caption, e.extension).arg(e.image).arg(e.kind);
    return out;
}

}

TEST(FolderListing, KindsImagesAndOrderUnderEachFilter)
{
    const QString folder = sampleFolder();
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(listFolderEntries(folder, 2, entries));
    EXPECT_EQ(rows(entries), (QStringList{"..| |1|3", ".config| |0|4", "sub| |0|4", "B| |4|5", "data| |4|5", "|.fon|3|6", ".hidden|.ttf|2|6",
                                          "A|.TTF|2|6", "a|.ttf|2|6", "x|.001|2|6", "z|.fon|3|6"}));
    EXPECT_EQ(entries[3].fileName, QStringLiteral("B.ZIP"));

    ASSERT_TRUE(listFolderEntries(folder, 0, entries));
    EXPECT_EQ(rows(entries), (QStringList{"..| |1|3", ".config| |0|4", "sub| |0|4", "B| |4|5", "data| |4|5", ".hidden|.ttf|2|6",
                                          "A|.TTF|2|6", "a|.ttf|2|6", "x|.001|2|6"}));
    ASSERT_TRUE(listFolderEntries(folder, 1, entries));
    EXPECT_EQ(rows(entries), (QStringList{"..| |1|3", ".config| |0|4", "sub| |0|4", "B| |4|5", "data| |4|5", "|.fon|3|6", "z|.fon|3|6"}));

    EXPECT_FALSE(listFolderEntries(folder + QStringLiteral("missing/"), 2, entries));
    ASSERT_TRUE(listFolderEntries(QStringLiteral("/"), 2, entries));
    EXPECT_TRUE(std::none_of(entries.begin(), entries.end(), [](const FolderEntry &e) { return e.kind == ItemKind::Parent; }));

    EXPECT_EQ(FileTypeImage(QStringLiteral(".TTF"), 0), 2);
    EXPECT_EQ(FileTypeImage(QStringLiteral(".fon"), 0), -1);
    EXPECT_EQ(FileTypeImage(QStringLiteral(".001"), 1), -1);
    EXPECT_EQ(FileTypeImage(QStringLiteral(".FON"), 1), 3);
    EXPECT_EQ(FileTypeImage(QStringLiteral(".otf"), 2), -1);
}

TEST(FolderListing, ParentFolderOfLinuxPaths)
{
    EXPECT_EQ(ParentFolderOf(QStringLiteral("/home/foo/bar/../")), QStringLiteral("/home/foo/"));
    EXPECT_EQ(ParentFolderOf(QStringLiteral("/a/../")), QStringLiteral("/"));
    EXPECT_EQ(ParentFolderOf(QStringLiteral("/a/b/..")), QStringLiteral("/a/"));
    EXPECT_EQ(ParentFolderOf(QStringLiteral("/Mixed Case/Dir/../")), QStringLiteral("/Mixed Case/"));
}

TEST(FileTransfer, ByteCountsAndTheSizeAndTimeLine)
{
    EXPECT_EQ(FormatByteCount(999), QStringLiteral("999 "));
    EXPECT_EQ(FormatByteCount(1000), QStringLiteral("1 000 "));
    EXPECT_EQ(FormatByteCount(2072302), QStringLiteral("2 072 302 "));
    EXPECT_EQ(FormatByteCount(3LL * 1024 * 1024 * 1024), QStringLiteral("3 221 225 472 "));
    EXPECT_EQ(FormatByteCount(0), QStringLiteral("0 "));
    const QDateTime written(QDate(2003, 7, 10), QTime(17, 35, 4), Qt::UTC);
    EXPECT_EQ(sizeAndTimeLine(2072302, written), QStringLiteral("2 072 302 Byte, 10.7.2003 17:35:4"));
}

TEST(FileTransfer, NothingIsReplacedWithoutAskingAndMovesAcrossFileSystemsKeepTheSource)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("transfer"));
    touch(folder + QStringLiteral("a.ttf"), "source");
    touch(folder + QStringLiteral("b.ttf"), "target");
    EXPECT_FALSE(transferFile(folder + QStringLiteral("a.ttf"), folder + QStringLiteral("b.ttf"), TransferMode::Copy, ReplaceExisting::No).ok);
    EXPECT_FALSE(transferFile(folder + QStringLiteral("a.ttf"), folder + QStringLiteral("b.ttf"), TransferMode::Move, ReplaceExisting::No).ok);
    QFile b(folder + QStringLiteral("b.ttf"));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), QByteArray("target"));
    b.close();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("a.ttf")));
    EXPECT_TRUE(transferFile(folder + QStringLiteral("a.ttf"), folder + QStringLiteral("b.ttf"), TransferMode::Copy, ReplaceExisting::Yes).ok);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), QByteArray("source"));
    b.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);   // no temporary left

    // A copy from a file that is not there leaves nothing behind.
    EXPECT_FALSE(transferFile(folder + QStringLiteral("gone.ttf"), folder + QStringLiteral("c.ttf"), TransferMode::Copy, ReplaceExisting::No).ok);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // /dev/shm is another file system here when it is a tmpfs.
    const QString other = QStringLiteral("/dev/shm/glyvanta-transfer-") + QString::number(QCoreApplication::applicationPid());
    if (QDir().mkpath(other)) {
        touch(other + QStringLiteral("/far.ttf"), "far");
        EXPECT_TRUE(transferFile(other + QStringLiteral("/far.ttf"), folder + QStringLiteral("far.ttf"), TransferMode::Move, ReplaceExisting::No).ok);
        EXPECT_FALSE(QFile::exists(other + QStringLiteral("/far.ttf")));
        QFile far(folder + QStringLiteral("far.ttf"));
        ASSERT_TRUE(far.open(QIODevice::ReadOnly));
        EXPECT_EQ(far.readAll(), QByteArray("far"));
        touch(other + QStringLiteral("/far.ttf"), "second");
        EXPECT_FALSE(transferFile(other + QStringLiteral("/far.ttf"), folder + QStringLiteral("far.ttf"), TransferMode::Move, ReplaceExisting::No).ok);
        EXPECT_TRUE(QFile::exists(other + QStringLiteral("/far.ttf")));
        QDir(other).removeRecursively();
    }
}
