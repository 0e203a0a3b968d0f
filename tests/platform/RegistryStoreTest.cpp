// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "NativeFile.h"
#include "RegistryStore.h"
#include "SpecialFiles.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

// Larger than any settings file is allowed to be.
constexpr qint64 kTooLarge = (qint64(32) << 20) + 1;

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2");

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

// Files may grow to at most a few bytes while this lives: writes fail even for root.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    rlimit m_saved{};
};

}

TEST(RegistryStore, KeepsTypesAndTextsAcrossReload)
{
    const QString file = TestEnvironment::instance().makeFolder(QStringLiteral("reg-roundtrip")) + QStringLiteral("registry.reg");
    {
        RegistryStore store(file);
        EXPECT_EQ(store.load(), RegistryStore::LoadResult::Missing);
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Preview Text"), RegValue::string(QStringLiteral("a \"quoted\" C:\\path~line\nnext ~ Жж"))));
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Options"), RegValue::binary(QByteArray("\x01\x00\xff\x7f", 4))));
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Count"), RegValue::dword32(0xDEADBEEF)));
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Expand"), RegValue::expandString(QStringLiteral("%HOME%/x"))));
        ASSERT_TRUE(store.setValue(QStringLiteral("HKEY_CURRENT_USER\\Other"), QStringLiteral("Empty"), RegValue::binary({})));
    }
    const QByteArray content = readFile(file);
    EXPECT_TRUE(content.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(content.contains("\"Options\"=hex:01,00,ff,7f\n"));
    EXPECT_TRUE(content.contains("\"Count\"=dword:deadbeef\n"));

    RegistryStore reread(file);
    ASSERT_EQ(reread.load(), RegistryStore::LoadResult::Loaded);
    EXPECT_EQ(reread.value(kKey, QStringLiteral("Preview Text")), RegValue::string(QStringLiteral("a \"quoted\" C:\\path~line\nnext ~ Жж")));
    EXPECT_EQ(reread.value(kKey, QStringLiteral("options")), RegValue::binary(QByteArray("\x01\x00\xff\x7f", 4)));
    EXPECT_EQ(reread.value(kKey, QStringLiteral("Count")), RegValue::dword32(0xDEADBEEF));
    EXPECT_EQ(reread.value(kKey, QStringLiteral("Expand")), RegValue::expandString(QStringLiteral("%HOME%/x")));
    EXPECT_EQ(reread.value(QStringLiteral("hkey_current_user\\other"), QStringLiteral("Empty")), RegValue::binary({}));
    EXPECT_EQ(reread.valueNames(kKey), (QStringList{QStringLiteral("Preview Text"), QStringLiteral("Options"), QStringLiteral("Count"), QStringLiteral("Expand")}));
}

TEST(RegistryStore, ReadsWrappedHexListsAsRegeditWritesThem)
{
    RegistryStore store(QStringLiteral("/nonexistent/unused.reg"));
    QString error;
    ASSERT_TRUE(store.parse("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2]\r\n"
                            "\"Options\"=hex:01,01,\\\r\n  01,00\r\n; a comment\r\n\"Last Path\"=\"fonts\"\r\n", &error))
        << error.toStdString();
    EXPECT_EQ(store.value(kKey, QStringLiteral("Options")), RegValue::binary(QByteArray("\x01\x01\x01\x00", 4)));
    EXPECT_EQ(store.readString(kKey, QStringLiteral("Last Path")), QStringLiteral("fonts"));
}

TEST(RegistryStore, WrongTypesGiveTheRegistryMessages)
{
    RegistryStore store(TestEnvironment::instance().makeFolder(QStringLiteral("reg-types")) + QStringLiteral("registry.reg"));
    store.load();
    ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Options"), RegValue::string(QStringLiteral("x"))));
    ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Last Path"), RegValue::binary("ab")));
    ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Big"), RegValue::binary(QByteArray(41, '\0'))));
    ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Word"), RegValue::dword32(1)));
    EXPECT_EQ(messageOf([&] { store.readBinary(kKey, QStringLiteral("Options"), 40); }), QStringLiteral("Invalid data type for 'Options'"));
    EXPECT_EQ(messageOf([&] { store.readBinary(kKey, QStringLiteral("Big"), 40); }), QStringLiteral("Invalid data type for 'Big'"));
    EXPECT_EQ(messageOf([&] { store.readBinary(kKey, QStringLiteral("Word"), 40); }), QStringLiteral("Invalid data type for 'Word'"));
    EXPECT_EQ(messageOf([&] { store.readString(kKey, QStringLiteral("Last Path")); }), QStringLiteral("Invalid data type for 'Last Path'"));
    EXPECT_EQ(store.readString(kKey, QStringLiteral("Missing")), QString());
    EXPECT_FALSE(store.readBinary(kKey, QStringLiteral("Missing"), 40).has_value());
}

TEST(RegistryStore, FailedWriteLeavesThePreviousFileAndValuesIntact)
{
    const QString file = TestEnvironment::instance().makeFolder(QStringLiteral("reg-fail")) + QStringLiteral("registry.reg");
    RegistryStore store(file);
    store.load();
    store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("/home/user/fonts/"));
    const QByteArray before = readFile(file);
    {
        FileSizeLimit limit(16);
        EXPECT_EQ(messageOf([&] { store.writeString(kKey, QStringLiteral("Preview Text"), QString(200, QLatin1Char('x'))); }),
                  QStringLiteral("Failed to set data for 'Preview Text'"));
        EXPECT_FALSE(store.deleteValue(kKey, QStringLiteral("Last Path")));
    }
    EXPECT_EQ(readFile(file), before);
    EXPECT_FALSE(store.value(kKey, QStringLiteral("Preview Text")).has_value());
    EXPECT_EQ(store.readString(kKey, QStringLiteral("Last Path")), QStringLiteral("/home/user/fonts/"));
}

TEST(RegistryStore, CorruptFileIsSetAsideNeverOverwritten)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("reg-corrupt"));
    const QString file = folder + QStringLiteral("registry.reg");
    const QByteArray garbage = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n\"Options\"=hex:zz\n";
    writeFile(file, garbage);
    RegistryStore store(file);
    ASSERT_EQ(store.load(), RegistryStore::LoadResult::SetAside);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(readFile(store.setAsidePath()), garbage);
    EXPECT_TRUE(store.loadError().contains(QStringLiteral("line 3")));
    store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("fonts"));
    EXPECT_EQ(readFile(store.setAsidePath()), garbage);

    for (const QByteArray &bad : {QByteArray("not a registry"), QByteArray("Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n"),
                                  QByteArray("Windows Registry Editor Version 5.00\n[K]\n\"a\"=dword:123\n"),
                                  QByteArray("Windows Registry Editor Version 5.00\n[K]\n\"a\"=\"unterminated\n")}) {
        SCOPED_TRACE(bad.constData());
        QString error;
        EXPECT_FALSE(store.parse(bad, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(RegistryStore, SpecialAndOversizedFilesAreRefusedAndLeftAsTheyAre)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("reg-special"));
    struct Case {
        const char *name;
        std::function<bool(const QString &)> make;
        mode_t type;
        QString reason;
    };
    const Case cases[] = {
        {"fifo.reg", makeFifo, S_IFIFO, QStringLiteral("it is not a regular file but a folder, pipe, socket or device")},
        {"zero.reg", makeDeviceLink, S_IFLNK, QStringLiteral("it is not a regular file but a folder, pipe, socket or device")},
        {"huge.reg", [](const QString &path) { return makeSparseFile(path, kTooLarge); }, S_IFREG,
         QStringLiteral("it is larger than 32 MB")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = folder + QString::fromLatin1(c.name);
        ASSERT_TRUE(c.make(file));
        FifoWatchdog watchdog({nativePath(file)});
        RegistryStore store(file);
        EXPECT_EQ(store.load(), RegistryStore::LoadResult::Unreadable);
        EXPECT_FALSE(watchdog.stop()) << "the load waited on the FIFO";
        EXPECT_EQ(store.loadError(), c.reason);
        // Nothing is written over it, and the refusal is told once.
        EXPECT_EQ(messageOf([&] { store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("fonts")); }),
                  QStringLiteral("Failed to set data for 'Last Path'"));
        EXPECT_EQ(nodeType(file), c.type);
        if (c.type == S_IFREG)
            EXPECT_EQ(nodeSize(file), kTooLarge);
        EXPECT_TRUE(entriesOf(folder).filter(QStringLiteral(".unreadable")).isEmpty());
    }

    // A store of a few MB is an ordinary one.
    const QString big = folder + QStringLiteral("big.reg");
    {
        RegistryStore store(big);
        store.load();
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Preview Text"), RegValue::string(QString(4 << 20, QLatin1Char('x')))));
    }
    RegistryStore reread(big);
    EXPECT_EQ(reread.load(), RegistryStore::LoadResult::Loaded);
    EXPECT_EQ(reread.readString(kKey, QStringLiteral("Preview Text")).size(), 4 << 20);
}

TEST(RegistryStore, EveryCharacterAndNameByteRoundTrips)
{
    const QString file = TestEnvironment::instance().makeFolder(QStringLiteral("reg-unicode")) + QStringLiteral("registry.reg");
    const QString sample = QStringLiteral("Sample \U0001F600 text");
    const QString planes = QString::fromUcs4(U"\U00010000 \U0001D11E \U00020000 \U0010FFFF e\u0301 \u00e9 \uFFFD");
    // A folder whose name is not UTF-8, as the folder list gives it.
    const QString folder = pathFromNative("/home/user/bad\xff\xfe fonts/");
    {
        RegistryStore store(file);
        store.load();
        store.writeString(kKey, QStringLiteral("Preview Text"), sample);
        store.writeString(kKey, QStringLiteral("Last Path"), folder);
        ASSERT_TRUE(store.setValue(kKey + QString::fromUcs4(U"\\\U0001F600"), QString::fromUcs4(U"name \U0001F600"), RegValue::string(planes)));
        ASSERT_TRUE(store.setValue(kKey, QStringLiteral("Expand"), RegValue::expandString(planes)));
    }
    const QByteArray bytes = readFile(file);
    EXPECT_TRUE(bytes.contains("\"Sample \xf0\x9f\x98\x80 text\"")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("\"Last Path\"=\"/home/user/bad\xff\xfe fonts/\""));
    EXPECT_FALSE(bytes.contains('?'));

    RegistryStore reread(file);
    ASSERT_EQ(reread.load(), RegistryStore::LoadResult::Loaded);
    EXPECT_EQ(reread.readString(kKey, QStringLiteral("Preview Text")), sample);
    EXPECT_EQ(reread.readString(kKey, QStringLiteral("Last Path")), folder);
    EXPECT_EQ(reread.readString(kKey + QString::fromUcs4(U"\\\U0001F600"), QString::fromUcs4(U"NAME \U0001F600")), planes);
    EXPECT_EQ(reread.value(kKey, QStringLiteral("Expand")), RegValue::expandString(planes));
}

TEST(RegistryStore, ReadsUtf16WithItsByteOrderMarkAndWritesItBackSo)
{
    const QString file = TestEnvironment::instance().makeFolder(QStringLiteral("reg-utf16")) + QStringLiteral("registry.reg");
    const QString text = QString::fromUcs4(U"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2]\r\n"
                                           U"\"Preview Text\"=\"Sample \U0001F600 \u0416~\"\r\n"
                                           U"\"Options\"=hex:01,00,01,00,\\\r\n  ff,00\r\n"
                                           U"\"Count\"=dword:0000002a\r\n\r\n");
    QByteArray utf16 = "\xff\xfe";
    for (const QChar c : text) {
        utf16 += static_cast<char>(c.unicode() & 0xFF);
        utf16 += static_cast<char>(c.unicode() >> 8);
    }
    writeFile(file, utf16);
    {
        RegistryStore store(file);
        ASSERT_EQ(store.load(), RegistryStore::LoadResult::Loaded) << store.loadError().toStdString();
        EXPECT_EQ(store.readString(kKey, QStringLiteral("Preview Text")), QString::fromUcs4(U"Sample \U0001F600 \u0416~"));
        EXPECT_EQ(store.value(kKey, QStringLiteral("Options")), RegValue::binary(QByteArray("\x01\x00\x01\x00\xff\x00", 6)));
        EXPECT_EQ(store.value(kKey, QStringLiteral("Count")), RegValue::dword32(42));
        store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("fonts"));
    }
    const QByteArray written = readFile(file);
    EXPECT_TRUE(written.startsWith(utf16.left(2 + 2 * 38)));
    RegistryStore reread(file);
    ASSERT_EQ(reread.load(), RegistryStore::LoadResult::Loaded);
    EXPECT_EQ(reread.readString(kKey, QStringLiteral("Preview Text")), QString::fromUcs4(U"Sample \U0001F600 \u0416~"));
    EXPECT_EQ(reread.readString(kKey, QStringLiteral("Last Path")), QStringLiteral("fonts"));

    // Cut in the middle of a code unit: not a registry file, so kept beside.
    writeFile(file, utf16.left(utf16.size() - 1));
    RegistryStore cut(file);
    EXPECT_EQ(cut.load(), RegistryStore::LoadResult::SetAside);
}

TEST(RegistryStore, ManyKeysKeepTheirOrderAndMatchWithoutCase)
{
    QByteArray content = "Windows Registry Editor Version 5.00\n";
    for (int i = 0; i < 5000; ++i)
        content += "\n[HKEY_CURRENT_USER\\Key " + QByteArray::number(i) + "]\n\"Value\"=dword:" + QByteArray::number(i, 16).rightJustified(8, '0') + "\n";
    // A key and a value written twice, in another case: one key, the last value.
    content += "[hkey_current_user\\KEY 7]\n\"VALUE\"=dword:00000063\n\"Other\"=\"x\"\n";
    // One key with many values, one of them written twice.
    content += "[HKEY_CURRENT_USER\\Wide]\n";
    for (int i = 0; i < 40; ++i)
        content += "\"v" + QByteArray::number(i) + "\"=dword:" + QByteArray::number(i, 16).rightJustified(8, '0') + "\n";
    content += "\"V3\"=\"again\"\n";
    RegistryStore store(TestEnvironment::instance().makeFolder(QStringLiteral("reg-many")) + QStringLiteral("registry.reg"));
    QString error;
    ASSERT_TRUE(store.parse(content, &error)) << error.toStdString();
    const QString wide = QStringLiteral("hkey_current_user\\WIDE");
    EXPECT_EQ(store.valueNames(wide).size(), 40);
    EXPECT_EQ(store.value(wide, QStringLiteral("v3")), RegValue::string(QStringLiteral("again")));
    ASSERT_TRUE(store.deleteValue(wide, QStringLiteral("V10")));
    EXPECT_FALSE(store.value(wide, QStringLiteral("v10")).has_value());
    EXPECT_EQ(store.value(wide, QStringLiteral("V39")), RegValue::dword32(39));
    ASSERT_TRUE(store.setValue(wide, QStringLiteral("V10"), RegValue::dword32(100)));
    EXPECT_EQ(store.valueNames(wide).last(), QStringLiteral("V10"));
    EXPECT_EQ(store.value(wide, QStringLiteral("v10")), RegValue::dword32(100));
    EXPECT_EQ(store.value(wide, QStringLiteral("v11")), RegValue::dword32(11));
    EXPECT_EQ(store.value(QStringLiteral("HKEY_CURRENT_USER\\Key 4999"), QStringLiteral("value")), RegValue::dword32(4999));
    EXPECT_EQ(store.value(QStringLiteral("HKEY_CURRENT_USER\\key 7"), QStringLiteral("Value")), RegValue::dword32(0x63));
    EXPECT_EQ(store.valueNames(QStringLiteral("HKEY_CURRENT_USER\\Key 7")), (QStringList{QStringLiteral("Value"), QStringLiteral("Other")}));
    const QByteArray once = RegistryStore::serialize(store);
    EXPECT_LT(once.indexOf("[HKEY_CURRENT_USER\\Key 7]"), once.indexOf("[HKEY_CURRENT_USER\\Key 8]"));
    EXPECT_EQ(once.count("[HKEY_CURRENT_USER"), 5001);
    EXPECT_FALSE(once.contains("hkey_current_user"));
}

TEST(RegistryStore, AStoreThatCannotBeWrittenSaysSoOnce)
{
    const QString file = TestEnvironment::instance().makeFolder(QStringLiteral("reg-once")) + QStringLiteral("registry.reg");
    RegistryStore store(file);
    store.load();
    store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("/old/"));
    {
        FileSizeLimit limit(16);
        EXPECT_EQ(messageOf([&] { store.writeString(kKey, QStringLiteral("Preview Text"), QStringLiteral("a")); }),
                  QStringLiteral("Failed to set data for 'Preview Text'"));
        EXPECT_EQ(messageOf([&] { store.writeString(kKey, QStringLiteral("Preview Text"), QStringLiteral("b")); }), QStringLiteral("(no error)"));
        EXPECT_EQ(messageOf([&] { store.writeBinary(kKey, QStringLiteral("Options"), "c"); }), QStringLiteral("(no error)"));
    }
    EXPECT_FALSE(store.value(kKey, QStringLiteral("Preview Text")).has_value());
    // Once a write goes through, a later failure is news again.
    store.writeString(kKey, QStringLiteral("Preview Text"), QStringLiteral("d"));
    {
        FileSizeLimit limit(16);
        EXPECT_EQ(messageOf([&] { store.writeString(kKey, QStringLiteral("Last Path"), QStringLiteral("/new/")); }),
                  QStringLiteral("Failed to set data for 'Last Path'"));
    }
}
