// SPDX-License-Identifier: MIT
#include "NativeFile.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeBytes(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    ::close(fd);
}

}

TEST(NativeFile, EveryNameMapsToOneStringAndBack)
{
    const QByteArray names[] = {
        "plain.ttf",
        "bad\xff.ttf",               // not UTF-8
        "bad\xef\xbf\xbd.ttf",       // a real U+FFFD: must stay apart from the one above
        "\xc3\xa9t\xc3\xa9.ttf",     // valid UTF-8
        "\xf0\x9f\x98\x80.ttf",      // outside the Basic Multilingual Plane
        "\xc0\xaf.ttf",              // an overlong "/": escaped, never a separator
        "\xed\xa0\x80.ttf",          // an encoded surrogate
        "\xe2\x82",                  // a sequence cut short
    };
    QStringList seen;
    for (const QByteArray &name : names) {
        const QString text = pathFromNative(name);
        EXPECT_EQ(nativePath(text), name) << name.toHex().constData();
        EXPECT_FALSE(seen.contains(text)) << name.toHex().constData();
        EXPECT_FALSE(text.contains(QLatin1Char('/')));
        seen.append(text);
    }
    EXPECT_EQ(pathFromNative("\xc3\xa9"), QStringLiteral("\u00e9"));
    EXPECT_EQ(pathFromNative("bad\xff"), QStringLiteral("bad") + QChar(0xDCFF));
}

TEST(NativeFile, OnlyRegularFilesAreOpenedAndReadWithinTheLimit)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("native-file"));
    const QByteArray base = nativePath(folder);

    writeBytes(base + "bad\xff.ttf", "first");
    writeBytes(base + "bad\xef\xbf\xbd.ttf", "second");
    EXPECT_EQ(readRegularFile(folder + pathFromNative("bad\xff.ttf"), 100), QByteArray("first"));
    EXPECT_EQ(readRegularFile(folder + pathFromNative("bad\xef\xbf\xbd.ttf"), 100), QByteArray("second"));

    // A FIFO would block an ordinary open until a writer came: it is refused at once.
    ASSERT_EQ(::mkfifo((base + "x.ttf").constData(), 0644), 0);
    FileRefusal why = FileRefusal::None;
    EXPECT_FALSE(readRegularFile(folder + QStringLiteral("x.ttf"), 100, &why));
    EXPECT_EQ(why, FileRefusal::NotRegular);

    // A link to a device is a device.
    ASSERT_EQ(::symlink("/dev/zero", (base + "zero.reg").constData()), 0);
    EXPECT_FALSE(readRegularFile(folder + QStringLiteral("zero.reg"), 100, &why));
    EXPECT_EQ(why, FileRefusal::NotRegular);

    EXPECT_FALSE(readRegularFile(folder, 100, &why));
    EXPECT_EQ(why, FileRefusal::NotRegular);
    EXPECT_FALSE(readRegularFile(folder + QStringLiteral("absent"), 100, &why));
    EXPECT_EQ(why, FileRefusal::Missing);
    // A NUL would cut the name to "bad": never opened.
    writeBytes(base + "bad", "cut");
    EXPECT_FALSE(readRegularFile(folder + QStringLiteral("bad") + QChar(0) + QStringLiteral("x"), 100, &why));
    EXPECT_EQ(why, FileRefusal::Missing);

    writeBytes(base + "big", QByteArray(70000, 'b'));
    EXPECT_FALSE(readRegularFile(folder + QStringLiteral("big"), 69999, &why));
    EXPECT_EQ(why, FileRefusal::TooLarge);
    EXPECT_EQ(readRegularFile(folder + QStringLiteral("big"), 70000)->size(), 70000);
    writeBytes(base + "empty", QByteArray());
    EXPECT_EQ(readRegularFile(folder + QStringLiteral("empty"), 0), QByteArray());
}

TEST(NativeFile, AFileThatGrowsPastTheLimitAfterOpeningIsRefused)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("native-grow"));
    const QByteArray path = nativePath(folder + QStringLiteral("grows"));
    writeBytes(path, "small");
    RegularFile file(folder + QStringLiteral("grows"));
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 5);
    writeBytes(path, QByteArray(200000, 'g'));
    EXPECT_FALSE(file.readAll(100000));
    EXPECT_EQ(file.refusal(), FileRefusal::TooLarge);
}
