// SPDX-License-Identifier: MIT
// Joining the volumes of a split archive before extraction, when a volume or the temporary
// folder fails: one exact message, nothing extracted, and no joined copy left behind.
#include "FaultSystem.h"
#include "FileHelpers.h"
#include "ScriptedPrompter.h"
#include "TZipKit.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kNotice = QStringLiteral("The message table is probably not linked to the executable\nMissing String ID is: ");

QByteArray pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = static_cast<char>((static_cast<unsigned>(i) * 7919u) % 251u);
    return out;
}

// A set of four 100 KiB volumes made by Info-ZIP's zip (set.z01 to set.z03, then set.zip with
// the directory), made once and copied for each case.
QString splitSet()
{
    static QString folder;
    if (!folder.isEmpty())
        return folder;
    const QString made = TestEnvironment::instance().makeFolder(QStringLiteral("span-source"));
    QFile one(made + QStringLiteral("one.ttf"));
    QFile two(made + QStringLiteral("two.fon"));
    if (!one.open(QIODevice::WriteOnly) || !two.open(QIODevice::WriteOnly))
        return {};
    one.write(pattern(300000));
    two.write(pattern(100000));
    one.close();
    two.close();
    QProcess zip;
    zip.setWorkingDirectory(made);
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-0"), QStringLiteral("-s"), QStringLiteral("100k"),
                                      QStringLiteral("set.zip"), QStringLiteral("one.ttf"), QStringLiteral("two.fon")});
    if (!zip.waitForFinished(30000) || zip.exitCode() != 0 || !QFile::exists(made + QStringLiteral("set.z03")))
        return {};
    folder = made;
    return folder;
}

QString copyOfSet(const QString &name)
{
    const QString folder = TestEnvironment::instance().makeFolder(name);
    for (const QString &volume : QDir(splitSet()).entryList({QStringLiteral("set.*")}, QDir::Files))
        QFile::copy(splitSet() + volume, folder + volume);
    return folder;
}

// Changes bytes of a volume in place.
void patch(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(at));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

qint64 endRecordOf(const QString &path)
{
    return fileBytes(path).lastIndexOf(QByteArray("PK\x05\x06", 4));
}

struct Outcome {
    QStringList messages;
    int errCode = 0;
    int successCount = -1;
    QStringList leftInTemp;
    QStringList extracted;
};

// Lists the set (answering the listing's warnings), then extracts one entry with the joined copy
// going to a folder of its own.
Outcome extractFromSet(const QString &folder, const QString &tempFolder, int listingWarnings)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SpanOptions = TZipKit::spCompatName;
    for (int i = 0; i < listingWarnings; ++i)
        prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("set.zip"));
    EXPECT_EQ(kit.Count(), 2);
    EXPECT_TRUE(kit.Spanned);
    kit.TempDir = tempFolder.left(tempFolder.size() - 1);
    kit.ExtrBaseDir = TestEnvironment::instance().makeFolder(QDir(folder).dirName() + QStringLiteral("-out"));
    kit.FSpecArgs = QStringList{QStringLiteral("two.fon")};
    prompter.willAnswer(MessageAnswer::Ok);
    kit.Extract();
    Outcome outcome;
    for (const MessageRequest &request : prompter.messages())
        outcome.messages << request.text;
    outcome.errCode = kit.ErrCode;
    outcome.successCount = kit.SuccessCount;
    outcome.leftInTemp = QDir(tempFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    outcome.extracted = QDir(kit.ExtrBaseDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    EXPECT_TRUE(kit.FSpecArgs.isEmpty());
    return outcome;
}

struct VolumeCase {
    const char *name;
    // Damages the copy of the set in folder; what it returns lives until the extraction ended.
    std::function<std::shared_ptr<void>(const QString &folder)> damage;
    QStringList messages;
    int errCode;
};

}

TEST(SpanJoin, AVolumeMissingUnreadableOrNotMatchingTheDirectoryIsToldAndLeavesNothing)
{
    ASSERT_FALSE(splitSet().isEmpty());
    const std::vector<VolumeCase> cases = {
        {"MissingMiddleVolume",
         [](const QString &folder) {
             QFile::remove(folder + QStringLiteral("set.z02"));
             return std::shared_ptr<void>();
         },
         {QStringLiteral("ZipKit [ 11001 ]")}, 11001},
        {"FolderInPlaceOfAVolume",
         [](const QString &folder) {
             QFile::remove(folder + QStringLiteral("set.z03"));
             QDir().mkpath(folder + QStringLiteral("set.z03"));
             return std::shared_ptr<void>();
         },
         {QStringLiteral("ZipKit [ 11001 ]")}, 11001},
        {"VolumeReadFails",
         [](const QString &folder) {
             return std::shared_ptr<void>(std::make_shared<fault::ReadFaultGuard>(folder + QStringLiteral("set.z02"), 5000, fault::ReadFault::Error));
         },
         {QStringLiteral("ZipKit [ 11001 ]")}, 11001},
        {"DirectoryOffsetPointsPastTheHeaders",
         [](const QString &folder) {
             // The listing counts back from the end record and only warns; the joined data has
             // no central header where the stored offset says.
             const QString last = folder + QStringLiteral("set.zip");
             const qint64 end = endRecordOf(last);
             const QByteArray record = fileBytes(last).mid(end, 22);
             quint32 offset = 0;
             for (int b = 3; b >= 0; --b)
                 offset = offset << 8 | static_cast<quint8>(record[16 + b]);
             ++offset;
             QByteArray stored(4, '\0');
             for (int b = 0; b < 4; ++b)
                 stored[b] = static_cast<char>(offset >> (8 * b));
             patch(last, end + 16, stored);
             return std::shared_ptr<void>();
         },
         {kNotice + QStringLiteral("10203 "), QStringLiteral("ZipKit [ 11015 ]")}, 11015},
        {"EntryOnADiskPastTheLast",
         [](const QString &folder) {
             const QString last = folder + QStringLiteral("set.zip");
             const qint64 header = fileBytes(last).indexOf(QByteArray("PK\x01\x02", 4));
             patch(last, header + 34, QByteArray("\x09\x00", 2));
             return std::shared_ptr<void>();
         },
         {QStringLiteral("ZipKit [ 11013 ]")}, 11013},
    };
    for (const VolumeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = copyOfSet(QStringLiteral("span-") + QLatin1String(c.name));
        const QString temp = TestEnvironment::instance().makeFolder(QStringLiteral("span-temp-") + QLatin1String(c.name));
        const std::shared_ptr<void> damage = c.damage(folder);
        const Outcome outcome = extractFromSet(folder, temp, static_cast<int>(c.messages.size()) - 1);
        EXPECT_EQ(outcome.messages, c.messages);
        EXPECT_EQ(outcome.errCode, c.errCode);
        EXPECT_EQ(outcome.successCount, 0);
        EXPECT_EQ(outcome.leftInTemp, QStringList());
        EXPECT_EQ(outcome.extracted, QStringList());
    }
}

TEST(SpanJoin, AFullOrReadOnlyTemporaryFolderIsToldAndLeavesNothing)
{
    if (!fault::mountsAvailable())
        GTEST_SKIP() << fault::mountsUnavailableReason().toStdString();
    ASSERT_FALSE(splitSet().isEmpty());
    const QString folder = copyOfSet(QStringLiteral("span-writes"));
    {
        // Room for a part of the joined copy only.
        const QString full = TestEnvironment::instance().makeFolder(QStringLiteral("span-full"));
        fault::Tmpfs small(full, 128 * 1024);
        ASSERT_TRUE(small.mounted());
        const Outcome outcome = extractFromSet(folder, full, 0);
        ASSERT_EQ(outcome.messages.size(), 1);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Cannot write the joined archive ") + QRegularExpression::escape(full)
                                       + QStringLiteral("glyvanta-span-\\w{6}\\.zip: No space left on device$"))
                        .match(outcome.messages[0])
                        .hasMatch())
            << outcome.messages[0].toStdString();
        EXPECT_EQ(outcome.errCode, ZipText::JoinWriteError);
        EXPECT_EQ(outcome.successCount, 0);
        EXPECT_EQ(outcome.leftInTemp, QStringList());
        EXPECT_EQ(outcome.extracted, QStringList());
    }
    {
        // Not even the joined copy can be made.
        const QString readOnly = TestEnvironment::instance().makeFolder(QStringLiteral("span-readonly"));
        fault::ReadOnlyFolder guard(readOnly);
        ASSERT_TRUE(guard.mounted());
        const Outcome outcome = extractFromSet(folder, readOnly, 0);
        EXPECT_EQ(outcome.messages,
                  QStringList{QStringLiteral("Cannot write the joined archive ") + readOnly + QStringLiteral("glyvanta-span-XXXXXX.zip: Read-only file system")});
        EXPECT_EQ(outcome.errCode, ZipText::JoinWriteError);
        EXPECT_EQ(outcome.successCount, 0);
        EXPECT_EQ(outcome.leftInTemp, QStringList());
        EXPECT_EQ(outcome.extracted, QStringList());
    }
}
