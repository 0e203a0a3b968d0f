// SPDX-License-Identifier: MIT
#include "FileHelpers.h"
#include "IniFile.h"
#include "NativeFile.h"
#include "SpecialFiles.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>
#include <vector>

#include <sys/resource.h>

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
