// SPDX-License-Identifier: MIT
// The directory reader on its own: bytes in, entries and a fault out, with nothing shown.
#include "TestEnvironment.h"
#include "ZipBuilder.h"
#include "ZipDirectoryReader.h"
#include "ZipEndRecord.h"
#include "ZipVolumes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the reader asks; answers as an unattended component without handlers.
class RecordingHost final : public ZipReadHost {
public:
    QStringList asked;

    void showMessage(int id, const QString &) override { asked << QStringLiteral("message %1").arg(id); }
    void showError(const EZipKit &error) override { asked << QStringLiteral("error %1").arg(error.MessageId); }
    void keepErrorId(int id) override { asked << QStringLiteral("id %1").arg(id); }
    QString messageText(int, const QString &fallback) override { return fallback; }
    bool nextDiskEvent(int, int, const QString &, bool &) override { return false; }
    bool diskPromptRefused(const QString &, bool) override { return true; }
    void entryListed(int seqNo, const ZipDirEntry &entry) override { asked << QStringLiteral("entry %1 %2").arg(seqNo).arg(entry.FileName); }
};

}

TEST(ZipDirectoryReader, GivesBackWhatItReadAndTheFaultWithoutTellingIt)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("reader-alone"));
    ZipBuilder archive;
    archive.add("one.ttf").add("dir/").add("dir/two.ttf").add("three.ttf");
    archive.stub = QByteArray(64, 's');
    archive.entries[3].signature = 0x02024B50;
    archive.write(folder + QStringLiteral("damaged.zip"));

    ZipReadOptions options;
    ZipDirectoryState state;
    RecordingHost host;
    ZipVolumes volumes(state, options, host);
    ZipEndOfCentral eoc;
    ASSERT_EQ(volumes.GetLastVolume(folder + QStringLiteral("damaged.zip"), eoc, true), 0);
    EXPECT_EQ(eoc.TotalEntries, 4u);
    const ZipFault fault = ZipDirectoryReader(state, options, volumes, host).read(eoc);
    ASSERT_EQ(fault.kind, ZipFault::Kind::Error);
    EXPECT_EQ(fault.error->MessageId, 11015);
    // The stub moved the directory from its stored offset: a warning, and reading went on.
    EXPECT_EQ(host.asked, (QStringList{QStringLiteral("message 10203"), QStringLiteral("entry 1 one.ttf"), QStringLiteral("entry 3 dir\\two.ttf")}));
    ASSERT_EQ(state.DirEntries.size(), 2u);
    EXPECT_EQ(state.DirEntries[1].DirIndex, 2u);
    EXPECT_EQ(state.DroppedDirCount, 1);
    EXPECT_TRUE(state.OffsetMismatch);

    // The same archive whole: the stub is counted in the bytes ahead of the first entry.
    archive.entries[3].signature = 0x02014B50;
    archive.write(folder + QStringLiteral("whole.zip"));
    ZipDirectoryState whole;
    ZipVolumes wholeVolumes(whole, options, host);
    ASSERT_EQ(wholeVolumes.GetLastVolume(folder + QStringLiteral("whole.zip"), eoc, true), 0);
    EXPECT_FALSE(ZipDirectoryReader(whole, options, wholeVolumes, host).read(eoc));
    EXPECT_EQ(whole.DirEntries.size(), 3u);
    EXPECT_EQ(whole.LeadingBytes, 64);
}

TEST(ZipEndRecord, EveryTruncationIsFoundOrMissedFromMemoryAlone)
{
    ZipBuilder archive;
    archive.add("a.ttf", "0123456789").add("b.ttf");
    archive.comment = "a comment";
    const QByteArray whole = archive.build();
    const qsizetype record = whole.lastIndexOf(QByteArray("PK\x05\x06", 4));
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        SCOPED_TRACE(size);
        // A copy of its own, so that a read past the end is a read past an allocation.
        const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + size);
        ByteSource bytes = ByteSource::fromMemory(prefix);
        const EndRecordSearch found = findEndRecord(bytes, size);
        EXPECT_EQ(found.found, size >= record + 22);
        if (!found.found)
            continue;
        EXPECT_EQ(found.position, record);
        EXPECT_EQ(found.eoc.TotalEntries, 2u);
        // Cut in the comment: the record claims more than follows it.
        EXPECT_EQ(found.trailingBytes, size - whole.size());
        EXPECT_EQ(found.comment, archive.comment.left(size - record - 22));
    }
}

TEST(ZipDirectoryReader, NamesDecodeByTheirHostAndFlags)
{
    struct Case {
        const char *stored;
        quint8 host, versionMadeBy;
        quint16 flags;
        ZipReadOptions::CPOpts codePage;
        QString expected;
    };
    const Case cases[] = {
        {"dir/a.ttf", 3, 30, 0, ZipReadOptions::cpAUTO, QStringLiteral("dir\\a.ttf")},
        {"dos\x81.ttf", 0, 20, 0, ZipReadOptions::cpAUTO, QStringLiteral("dos\u00FC.ttf")},
        {"dos\x81.ttf", 0, 20, 0, ZipReadOptions::cpNone, QStringLiteral("dos\u0081.ttf")},
        {"ntfs\x81.ttf", 11, 50, 0, ZipReadOptions::cpAUTO, QStringLiteral("ntfs\u00FC.ttf")},
        {"ntfs\x81.ttf", 11, 63, 0, ZipReadOptions::cpAUTO, QStringLiteral("ntfs\u0081.ttf")},
        {"unix\x81.ttf", 3, 30, 0, ZipReadOptions::cpOEM, QStringLiteral("unix\u00FC.ttf")},
        {"flag\xc3\xa9.ttf", 0, 20, 0x0800, ZipReadOptions::cpAUTO, QStringLiteral("flag\u00E9.ttf")},
        {"unix\xd0\x96.ttf", 3, 30, 0, ZipReadOptions::cpAUTO, QStringLiteral("unix\u0416.ttf")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(ZipDirectoryReader::decodeName(QByteArrayView(c.stored), c.host, c.versionMadeBy, c.flags, c.codePage), c.expected);
    }
}
