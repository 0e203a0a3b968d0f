// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "RegistryStore.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Glyvanta v2_2");

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
