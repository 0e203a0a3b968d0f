// SPDX-License-Identifier: MIT
#include "FifoGuard.h"
#include "NameTableReader.h"
#include "NativeFile.h"
#include "QtPrinters.h"
#include "SfntBuilder.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

void writeNative(const QByteArray &path, const std::vector<std::uint8_t> &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

QString writeFont(const QString &name, const std::vector<std::uint8_t> &bytes)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("names-") + name) + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

}

TEST(NameTableReader, DecodesWindowsAndMacintoshRecordsAlikeAndTheLaterWins)
{
    const auto font = SfntBuilder{}
                          .withOtherTable()
                          .name(1, 1, SfntBuilder::latin1("Arial"))
                          .name(3, 1, SfntBuilder::utf16be(QStringLiteral("Arial")))
                          .name(3, 4, {0x00, 0x41, 0x00, 0x42})
                          .name(3, 15, SfntBuilder::utf16be(QStringLiteral("reserved")))
                          .name(3, 25, SfntBuilder::utf16be(QStringLiteral("skipped")))
                          .name(3, 2, {})
                          .name(1, 0, SfntBuilder::latin1("\xA9 Someone"))
                          .name(3, 6, SfntBuilder::utf16be(QStringLiteral("Шрифт Ελληνικά 字体")))
                          .build();
    const NameReadResult r = readNameTable(font);
    EXPECT_EQ(r.status, NameReadStatus::Ok);
    EXPECT_EQ(r.names[1], QStringLiteral("Arial"));
    EXPECT_EQ(r.names[4], QStringLiteral("AB"));
    EXPECT_EQ(r.names[15], QStringLiteral("reserved"));
    EXPECT_EQ(r.names[2], QString());
    // Macintosh Roman: 0xA9 is the copyright sign there.
    EXPECT_EQ(r.names[0], QStringLiteral("\u00A9 Someone"));
    EXPECT_EQ(r.names[6], QStringLiteral("Шрифт Ελληνικά 字体"));
}

TEST(NameTableReader, FileLevelResultsAndTheRecordsState)
{
    // Success: the full name, the path recorded, the file closed.
    CurrentFontRecord record;
    record.FontFilePath = QStringLiteral("previous.ttf");
    const QString good = writeFont(QStringLiteral("good.ttf"), SfntBuilder{}.name(3, 4, SfntBuilder::utf16be(QStringLiteral("Good Font"))).build());
    EXPECT_EQ(ReadTrueTypeNames(record, good), QStringLiteral("Good Font"));
    EXPECT_EQ(record.FontFilePath, good);
    EXPECT_EQ(record.FontFileHandle, 0);

    // No full name: empty, still a success.
    const QString noFull = writeFont(QStringLiteral("nofull.ttf"), SfntBuilder{}.name(3, 1, SfntBuilder::utf16be(QStringLiteral("Fam"))).build());
    EXPECT_EQ(ReadTrueTypeNames(record, noFull), QString());
    EXPECT_EQ(record.FontNames[1], QStringLiteral("Fam"));

    // No naming table at all: no names, a success.
    const QString noName = writeFont(QStringLiteral("noname.ttf"), SfntBuilder{}.withOtherTable().withoutNameTable().build());
    EXPECT_EQ(ReadTrueTypeNames(record, noName), QString());
    EXPECT_EQ(record.FontFilePath, noName);

    // A string cut off by the end of the file: failure, the earlier names kept, the file left
    // open, the path not recorded.
    auto cutFont = SfntBuilder{}.name(3, 1, SfntBuilder::utf16be(QStringLiteral("Kept"))).name(3, 4, SfntBuilder::utf16be(QStringLiteral("FontForge"))).build();
    cutFont.resize(cutFont.size() - 9);
    const QString cut = writeFont(QStringLiteral("cut.ttf"), cutFont);
    EXPECT_FALSE(ReadTrueTypeNames(record, cut).has_value());
    EXPECT_EQ(record.FontNames[1], QStringLiteral("Kept"));
    EXPECT_EQ(record.FontFilePath, noName);
    EXPECT_GT(record.FontFileHandle, 0);
    ::close(record.FontFileHandle);

    // Name records cut off by the end of the file: failure, the names of the records before kept,
    // the file left open, the path not recorded.
    const QString cutRecords = writeFont(QStringLiteral("cutrecords.ttf"),
                                         SfntBuilder{}.name(3, 1, SfntBuilder::utf16be(QStringLiteral("Kept"))).countOverride(0xFFFF).build());
    EXPECT_FALSE(ReadTrueTypeNames(record, cutRecords).has_value());
    EXPECT_EQ(record.FontNames[1], QStringLiteral("Kept"));
    EXPECT_EQ(record.FontFilePath, noName);
    EXPECT_GT(record.FontFileHandle, 0);
    ::close(record.FontFileHandle);

    // A file that cannot be opened.
    record.FontFileHandle = 0;
    EXPECT_FALSE(ReadTrueTypeNames(record, QStringLiteral("/nonexistent/x.ttf")).has_value());
    EXPECT_LT(record.FontFileHandle, 0);
    EXPECT_EQ(record.FontNames[1], QString());
}

TEST(NameTableReader, StringsPastTheFileFailAndTheTableLengthIsNotChecked)
{
    // Strings past the end of the file: a short read, the record before stays.
    SfntBuilder::Record farOffset;
    farOffset.nameID = 4;
    farOffset.bytes = SfntBuilder::utf16be(QStringLiteral("X"));
    farOffset.offsetOverride = 0xFFFF;
    NameReadResult r = readNameTable(SfntBuilder{}.name(3, 4, SfntBuilder::utf16be(QStringLiteral("Good"))).record(farOffset).build());
    EXPECT_EQ(r.status, NameReadStatus::ShortRead);
    EXPECT_EQ(r.names[4], QStringLiteral("Good"));

    SfntBuilder::Record longLength;
    longLength.nameID = 4;
    longLength.bytes = SfntBuilder::utf16be(QStringLiteral("X"));
    longLength.lengthOverride = 0xFFFF;
    r = readNameTable(SfntBuilder{}.record(longLength).build());
    EXPECT_EQ(r.status, NameReadStatus::ShortRead);
    EXPECT_EQ(r.names[4], QString());
    // So does one of an ID that fills no slot.
    SfntBuilder::Record unusedId = longLength;
    unusedId.nameID = 25;
    EXPECT_EQ(readNameTable(SfntBuilder{}.record(unusedId).build()).status, NameReadStatus::ShortRead);

    // A string inside the file but past the naming table's stated length is read: the length
    // field is not trusted either way.
    auto shortTable = SfntBuilder{}
                          .withOtherTable()
                          .name(3, 1, SfntBuilder::utf16be(QStringLiteral("Inside")))
                          .name(3, 4, SfntBuilder::utf16be(QStringLiteral("Outside")))
                          .build();
    shortTable.insert(shortTable.end(), 64, 0);
    const std::size_t nameRecord = 12 + 16;   // the second table record
    const std::uint32_t inside = 6 + 2 * 12 + 12;
    shortTable[nameRecord + 12] = shortTable[nameRecord + 13] = shortTable[nameRecord + 14] = 0;
    shortTable[nameRecord + 15] = static_cast<std::uint8_t>(inside);
    r = readNameTable(shortTable);
    EXPECT_EQ(r.status, NameReadStatus::Ok);
    EXPECT_EQ(r.names[1], QStringLiteral("Inside"));
    EXPECT_EQ(r.names[4], QStringLiteral("Outside"));

    // A record that is not all there, or a table directory that is not, still fails.
    const auto manyRecords = SfntBuilder{}.name(3, 1, SfntBuilder::utf16be(QStringLiteral("A"))).countOverride(0xFFFF).build();
    EXPECT_EQ(readNameTable(manyRecords).status, NameReadStatus::ShortRead);
    EXPECT_EQ(readNameTable(manyRecords).names[1], QStringLiteral("A"));

    std::vector<std::uint8_t> tooManyTables = SfntBuilder{}.name(3, 1, {}).build();
    tooManyTables[4] = 0xFF;
    tooManyTables[5] = 0xFF;
    EXPECT_EQ(readNameTable(tooManyTables).status, NameReadStatus::ShortRead);

    const std::vector<std::uint8_t> notAFont = SfntBuilder::latin1("this is plain text, not a font file at all");
    EXPECT_NE(readNameTable(notAFont).status, NameReadStatus::Ok);
}

TEST(NameTableReader, EveryTruncationFailsWithoutReadingPastTheEnd)
{
    const auto font = SfntBuilder{}
                          .withOtherTable()
                          .name(1, 1, SfntBuilder::latin1("Family"))
                          .name(3, 4, SfntBuilder::utf16be(QStringLiteral("Full Name")))
                          .build();
    const std::size_t nameTableStart = 12 + 2 * 16 + 8;
    const std::size_t storage = nameTableStart + 6 + 2 * 12;
    for (std::size_t size = 0; size < font.size(); ++size) {
        SCOPED_TRACE(size);
        const std::vector<std::uint8_t> prefix(font.begin(), font.begin() + static_cast<std::ptrdiff_t>(size));
        const NameReadResult r = readNameTable(prefix);
        // Before the naming table's header is complete the file has no names; after, a cut
        // record or string is a short read that keeps the names before it.
        if (size < 12 + 2 * 16)
            EXPECT_EQ(r.status, NameReadStatus::ShortRead);
        else if (size < nameTableStart + 6)
            EXPECT_EQ(r.status, NameReadStatus::NoNameTable);
        else
            EXPECT_EQ(r.status, NameReadStatus::ShortRead);
        EXPECT_EQ(r.names[1], size >= storage + 6 ? QStringLiteral("Family") : QString());
        EXPECT_EQ(r.names[4], QString());
    }
    EXPECT_EQ(readNameTable(font).names[4], QStringLiteral("Full Name"));
}

TEST(NameTableReader, ManyRecordsOverOneLongStringAreReadOnceEach)
{
    // 65,535 records that all name one 64 KB range lying over the records themselves: every ID
    // up to 20 is filled by its last record, every string decoded from that one range.
    const auto table = SfntBuilder::repeatedNameTable(65535, 65535);
    const NameReadResult r = readNameTable(SfntBuilder::withNameTable(SfntBuilder{}.name(3, 1, {}).build(), table));
    EXPECT_EQ(r.status, NameReadStatus::Ok);
    const std::vector<std::uint8_t> range(table.begin() + 6, table.begin() + 6 + 65535);
    const QString expected = decodeNameString(3, range);
    EXPECT_GT(expected.size(), 20000);   // the UTF-16 units of the range that are not zero
    for (int id = 0; id <= 20; ++id)
        EXPECT_EQ(r.names[static_cast<size_t>(id)], expected) << id;
}

TEST(NameTableReader, SpecialFilesAreRefusedAtOnceAndNamesAreBytes)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("names-special"));

    // A FIFO: refused without waiting for a writer, no descriptor kept.
    FifoGuard fifo(folder + QStringLiteral("x.ttf"));
    ASSERT_TRUE(fifo.made());
    CurrentFontRecord record;
    record.FontFilePath = QStringLiteral("previous.ttf");
    EXPECT_FALSE(ReadTrueTypeNames(record, folder + QStringLiteral("x.ttf")).has_value());
    EXPECT_FALSE(fifo.fired());
    EXPECT_LT(record.FontFileHandle, 0);
    EXPECT_EQ(record.FontFilePath, QStringLiteral("previous.ttf"));
    // A folder named like a font is no font either.
    QDir().mkpath(folder + QStringLiteral("dir.ttf"));
    EXPECT_FALSE(ReadTrueTypeNames(record, folder + QStringLiteral("dir.ttf")).has_value());
    EXPECT_LT(record.FontFileHandle, 0);

    // A name that is not UTF-8 reaches its own file, not the one whose name Qt would make of it.
    const QByteArray native = nativePath(folder);
    writeNative(native + "bad\xff.ttf", SfntBuilder{}.name(3, 4, SfntBuilder::utf16be(QStringLiteral("Right"))).build());
    writeNative(native + "bad\xef\xbf\xbd.ttf", SfntBuilder{}.name(3, 4, SfntBuilder::utf16be(QStringLiteral("Wrong"))).build());
    const QString bad = folder + pathFromNative("bad\xff.ttf");
    EXPECT_EQ(ReadTrueTypeNames(record, bad), QStringLiteral("Right"));
    EXPECT_EQ(record.FontFilePath, bad);
}

TEST(NameTableReader, RealFontsReadAsFreeTypeReadsThem)
{
    CurrentFontRecord record;
    EXPECT_EQ(ReadTrueTypeNames(record, TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-Bold.ttf"))), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(record.FontNames[1], QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(record.FontNames[2], QStringLiteral("Bold"));
    EXPECT_TRUE(record.FontNames[0].contains(QStringLiteral("Bitstream")));
    EXPECT_EQ(ReadTrueTypeNames(record, TestEnvironment::wine(QStringLiteral("tahoma.ttf"))), QStringLiteral("Tahoma"));
}
