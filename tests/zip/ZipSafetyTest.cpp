// SPDX-License-Identifier: MIT
// Hostile archives: names that lead out of the folder, sizes that lie, split sets whose volumes
// change under the reader, and special files where archives are expected.
#include "EntryName.h"
#include "ExtractionGuard.h"
#include "FileHelpers.h"
#include "NativeFile.h"
#include "ScriptedPrompter.h"
#include "TZipKit.h"
#include "TestEnvironment.h"
#include "UnzLibAbi.h"
#include "ZipBuilder.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString folderFor(const char *name)
{
    return TestEnvironment::instance().makeFolder(QString::fromLatin1(name));
}

QStringList filesBelow(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

QStringList namesOf(const TZipKit &kit)
{
    QStringList names;
    for (const ZipDirEntry &e : kit.DirEntries)
        names << e.FileName;
    return names;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
}

// A FIFO that nobody writes to: a reader that opens it blocking would wait forever. After a grace
// period a rescuer opens it for writing, again and again, so that such a reader goes on (and the
// test fails instead of hanging); it tells whether it had to.
class Fifo {
public:
    explicit Fifo(const QString &path)
        : m_path(nativePath(path))
    {
        EXPECT_EQ(::mkfifo(m_path.constData(), 0600), 0);
        m_rescuer = std::thread([this] {
            const auto start = std::chrono::steady_clock::now();
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
                    continue;
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_rescued = true;
                    ::close(fd);
                }
            }
        });
    }
    ~Fifo()
    {
        m_stop = true;
        m_rescuer.join();
    }
    bool rescued() const { return m_rescued; }

private:
    QByteArray m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_rescued{false};
    std::thread m_rescuer;
};

// Keeps the address space small while it lives, so that an allocation the size an archive merely
// claims fails at once instead of taking gigabytes. Not under AddressSanitizer, which reserves
// terabytes of address space for itself.
class AddressSpaceLimit {
public:
    AddressSpaceLimit()
    {
#if !defined(__SANITIZE_ADDRESS__)
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        ::getrlimit(RLIMIT_AS, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
        m_set = ::setrlimit(RLIMIT_AS, &limit) == 0;
#endif
    }
    ~AddressSpaceLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_AS, &m_old);
    }

private:
    rlimit m_old{};
    bool m_set = false;
};

// Runs Info-ZIP's zip in a folder.
bool zipTool(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q")} + arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray noise(int size, unsigned seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        out[i] = static_cast<char>(seed >> 16);
    }
    return out;
}

}

TEST(EntryNames, EveryNameResolvesInsideItsFolderOrIsRefused)
{
    struct Case {
        std::string stored;
        std::optional<std::string> keepingFolders;
        std::optional<std::string> lastPartOnly;
    };
    const std::vector<Case> cases = {
        {"a.ttf", "a.ttf", "a.ttf"},
        {"faces/a.ttf", "faces/a.ttf", "a.ttf"},
        {"faces\\deep\\a.ttf", "faces/deep/a.ttf", "a.ttf"},
        {"faces//./a.ttf", "faces/a.ttf", "a.ttf"},
        {"./a.ttf", "a.ttf", "a.ttf"},
        {"[ab]*.ttf", "[ab]*.ttf", "[ab]*.ttf"},
        {"a..b.ttf", "a..b.ttf", "a..b.ttf"},
        {"...", "...", "..."},
        {"faces/C:x.ttf", "faces/C:x.ttf", "C:x.ttf"},
        {"../a.ttf", std::nullopt, std::nullopt},
        {"..\\..\\victim.ttf", std::nullopt, std::nullopt},
        {"faces/../../a.ttf", std::nullopt, std::nullopt},
        {"faces\\..", std::nullopt, std::nullopt},
        {"..", std::nullopt, std::nullopt},
        {"/etc/a.ttf", std::nullopt, std::nullopt},
        {"\\a.ttf", std::nullopt, std::nullopt},
        {"\\\\server\\share\\a.ttf", std::nullopt, std::nullopt},
        {"C:\\a.ttf", std::nullopt, std::nullopt},
        {"c:a.ttf", std::nullopt, std::nullopt},
        {std::string("a.ttf\0.x", 8), std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"faces/", std::nullopt, std::nullopt},
        {"faces\\.", std::nullopt, std::nullopt},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.stored);
        EXPECT_EQ(entryname::relativePath(k.stored, true), k.keepingFolders);
        EXPECT_EQ(entryname::relativePath(k.stored, false), k.lastPartOnly);
        const std::optional<std::string> full = k.keepingFolders ? std::optional<std::string>("/x/out/" + *k.keepingFolders) : std::nullopt;
        EXPECT_EQ(entryname::inside("/x/out/", k.stored, true), full);
        EXPECT_EQ(entryname::inside("/x/out", k.stored, true), full);
    }
    EXPECT_EQ(entryname::inside("", "a.ttf", true), std::nullopt);
}

TEST(ExtractionGuard, SizesAreHeldAgainstTheLimitAndTheFreeSpace)
{
    using namespace ExtractionGuard;
    EXPECT_EQ(refusal(QStringLiteral("a.ttf"), 1000, Limit, 5000, QStringLiteral("/t/")), QString());
    EXPECT_EQ(refusal(QStringLiteral("a.ttf"), Limit, Limit, std::nullopt), QString());
    EXPECT_EQ(refusal(QStringLiteral("a.ttf"), Limit + 1, Limit, std::nullopt),
              QStringLiteral("The archive entry a.ttf is 536870913 bytes (512.0 MiB) when extracted, more than the 536870912 bytes (512.0 MiB) "
                             "an extraction may take."));
    EXPECT_EQ(refusal(QStringLiteral("b.ttf"), 3 << 20, Limit, 2 << 20, QStringLiteral("/t/")),
              QStringLiteral("The archive entry b.ttf is 3145728 bytes (3.0 MiB) when extracted, but only 2097152 bytes (2.0 MiB) are free in /t/."));
    EXPECT_EQ(refusal(QStringLiteral("c.ttf"), 1000, Limit, 999, QStringLiteral("/t/")),
              QStringLiteral("The archive entry c.ttf is 1000 bytes when extracted, but only 999 bytes are free in /t/."));
    EXPECT_TRUE(freeSpace(TestEnvironment::instance().root()).has_value());
    EXPECT_FALSE(freeSpace(QStringLiteral("/nonexistent/folder")).has_value());
}

TEST(ZipExtract, NoEntryWritesMoreThanItsDeclaredSize)
{
    const QString folder = folderFor("zip-declared");
    ZipBuilder bomb;
    bomb.add("bomb.ttf", QByteArray(10 << 20, 'z'));
    bomb.entries.back().deflated = true;
    bomb.entries.back().declaredSize = 1000;
    bomb.add("fine.ttf", "fine");
    bomb.write(folder + QStringLiteral("bomb.zip"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SetFileName(folder + QStringLiteral("bomb.zip"));
    // Named (the library finds the entry itself) and by a pattern (through libzip's listing).
    for (const QString &spec : {QStringLiteral("bomb.ttf"), QStringLiteral("*.ttf")}) {
        SCOPED_TRACE(spec.toStdString());
        const QString out = TestEnvironment::instance().makeFolder(QStringLiteral("zip-declared-out-") + QString::number(spec.size()));
        kit.ExtrBaseDir = out;
        QStringList messages;
        kit.OnMessage = [&](int, const QString &text) { messages << text; };
        kit.FSpecArgs = QStringList{spec};
        kit.Extract();
        EXPECT_TRUE(messages.contains(QStringLiteral("bomb.ttf holds more than its declared size of 1000 bytes")));
        EXPECT_EQ(filesBelow(out), spec == QLatin1String("*.ttf") ? QStringList{QStringLiteral("fine.ttf")} : QStringList());
    }
}

TEST(ZipExtract, SizesBeyondTheFileAreRefusedBeforeAnythingIsAllocated)
{
    const QString folder = folderFor("zip-claims");
    ZipBuilder claims;
    claims.add("big.ttf", "small");
    claims.entries.back().declaredCompressed = 0xEEEEEEEE;
    claims.add("huge.ttf", "small");
    claims.entries.back().declaredSize = 0xC0000000;
    claims.write(folder + QStringLiteral("claims.zip"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SetFileName(folder + QStringLiteral("claims.zip"));
    ASSERT_EQ(kit.Count(), 2);
    const QString out = folderFor("zip-claims-out");
    kit.ExtrBaseDir = out;
    {
        AddressSpaceLimit limit;
        kit.FSpecArgs = QStringList{QStringLiteral("big.ttf")};
        kit.Extract();
        EXPECT_EQ(kit.LastMessage, QStringLiteral("the entry big.ttf is damaged: its data runs past the end of the archive"));
        EXPECT_EQ(kit.SuccessCount, 0);
        // To memory: the size the archive claims is held against the limit before memory is taken.
        prompter.willAnswer(MessageAnswer::Ok);
        EXPECT_EQ(kit.ExtractFileToStream(QStringLiteral("huge.ttf")), nullptr);
    }
    ASSERT_FALSE(prompter.messages().empty());
    EXPECT_EQ(prompter.messages().back().text,
              QStringLiteral("The archive entry huge.ttf is 3221225472 bytes (3072.0 MiB) when extracted, more than the 536870912 bytes "
                             "(512.0 MiB) an extraction may take."));
    EXPECT_EQ(kit.ErrCode, ZipText::EntryRefused);
    EXPECT_TRUE(filesBelow(out).isEmpty());
}

TEST(ZipDirectory, SplitDirectoriesAreReadFromEachVolumeAfresh)
{
    // Enough entries that the central directory runs over several 64 KiB volumes.
    const QString folder = folderFor("zip-split64");
    QStringList files;
    for (int i = 0; i < 1200; ++i) {
        files << QStringLiteral("font-with-a-rather-long-name-%1.ttf").arg(i, 4, 10, QLatin1Char('0'));
        writeFile(folder + files.back(), noise(40 + i % 7, static_cast<unsigned>(i)));
    }
    ASSERT_TRUE(zipTool(folder, QStringList{QStringLiteral("-0"), QStringLiteral("-s"), QStringLiteral("64k"), QStringLiteral("set.zip")} + files));
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("set.z03")));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SpanOptions = TZipKit::spCompatName;
    kit.SetFileName(folder + QStringLiteral("set.zip"));
    EXPECT_EQ(namesOf(kit), files);
    ASSERT_EQ(kit.Count(), 1200);
    EXPECT_EQ(kit.DirEntry(1100).Crc32, ZipBuilder::crcOf(noise(40 + 1100 % 7, 1100)));
    EXPECT_EQ(kit.DirEntry(1100).UncompressedSize, 40u + 1100 % 7);

    kit.ExtrBaseDir = folderFor("zip-split64-out");
    kit.FSpecArgs = QStringList{files[1100]};
    kit.Extract();
    EXPECT_EQ(kit.SuccessCount, 1);
    EXPECT_EQ(fileBytes(kit.ExtrBaseDir + files[1100]), noise(40 + 1100 % 7, 1100));

    // A full disk while the volumes are joined: told, and nothing half-joined is left.
    const QString spare = folderFor("zip-split64-join");
    kit.TempDir = spare.left(spare.size() - 1);
    const QString out = folderFor("zip-split64-out2");
    kit.ExtrBaseDir = out;
    kit.FSpecArgs = QStringList{files[5]};
    prompter.willAnswer(MessageAnswer::Ok);
    {
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 100000;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        kit.Extract();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    }
    ASSERT_FALSE(prompter.messages().empty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Cannot write the joined archive ") + QRegularExpression::escape(spare)
                                   + QStringLiteral("glyvanta-span-\\w{6}\\.zip: File too large$"))
                    .match(prompter.messages().back().text)
                    .hasMatch())
        << prompter.messages().back().text.toStdString();
    EXPECT_EQ(kit.ErrCode, ZipText::JoinWriteError);
    EXPECT_EQ(kit.SuccessCount, 0);
    EXPECT_TRUE(filesBelow(spare).isEmpty());
    EXPECT_TRUE(filesBelow(out).isEmpty());
}

TEST(ZipDirectory, AStartDiskPastTheLastVolumeIsRefused)
{
    // Volume 1 (set.z01): the marker and one entry's data. Last volume (set.zip): the directory,
    // and an end record that says the directory starts on disk 5 of 2.
    const QString folder = folderFor("zip-startdisk");
    ZipBuilder one;
    one.add("a.ttf", "font bytes");
    const QByteArray whole = one.build();
    const qsizetype directory = whole.indexOf(QByteArray("PK\x01\x02", 4));
    QByteArray first("PK\x07\x08", 4);
    first += whole.left(directory);
    writeFile(folder + QStringLiteral("set.z01"), first);
    QByteArray last = whole.mid(directory);
    const qsizetype end = last.indexOf(QByteArray("PK\x05\x06", 4));
    last[end + 4] = 1;    // this disk
    last[end + 6] = 5;    // directory's start disk
    last[end + 16] = last[end + 17] = last[end + 18] = last[end + 19] = 0;   // at the start of its volume
    writeFile(folder + QStringLiteral("set.zip"), last);

    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SpanOptions = TZipKit::spCompatName;
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("set.zip"));
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 11013 ]"));
    EXPECT_EQ(kit.Count(), 0);
    EXPECT_EQ(kit.ErrCode, 11013);
}

TEST(ZipSpecialFiles, FifosNamedLikeArchivesAreNeverWaitedOn)
{
    const QString folder = folderFor("zip-fifo");
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    {
        Fifo fifo(folder + QStringLiteral("probe.zip"));
        EXPECT_EQ(kit.QueryZip(folder + QStringLiteral("probe.zip")), -7);
        EXPECT_FALSE(fifo.rescued());
    }
    {
        // The last numbered volume is a FIFO.
        Fifo fifo(folder + QStringLiteral("numbered001.zip"));
        prompter.willAnswer(MessageAnswer::Ok);
        kit.SetFileName(folder + QStringLiteral("numbered.zip"));
        EXPECT_FALSE(fifo.rescued());
        EXPECT_EQ(prompter.messages().back().text, ZipText::MissingText + QStringLiteral("11002 "));
        EXPECT_EQ(kit.Count(), 0);
    }
    {
        // A volume opened while the directory is read is a FIFO.
        ZipBuilder one;
        one.add("a.ttf", "font bytes");
        QByteArray last = one.build();
        const qsizetype end = last.indexOf(QByteArray("PK\x05\x06", 4));
        last[end + 4] = 1;   // this disk: the directory starts on disk 0, set.z01
        writeFile(folder + QStringLiteral("set.zip"), last);
        Fifo fifo(folder + QStringLiteral("set.z01"));
        kit.SpanOptions = TZipKit::spCompatName;
        prompter.willAnswer(MessageAnswer::Ok);
        kit.SetFileName(folder + QStringLiteral("set.zip"));
        EXPECT_FALSE(fifo.rescued());
        EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 11001 ]"));
        EXPECT_EQ(kit.Count(), 0);
    }
    {
        // The unzip library given a FIFO for its archive.
        void *library = ::dlopen(nativePath(QCoreApplication::applicationDirPath() + QStringLiteral("/libunzlib.so")).constData(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        auto *exec = reinterpret_cast<int (*)(UnzipParams *)>(::dlsym(library, "UnzLibExec"));
        ASSERT_NE(exec, nullptr);
        Fifo fifo(folder + QStringLiteral("library.zip"));
        const QByteArray archive = nativePath(folder + QStringLiteral("library.zip"));
        QByteArray out = nativePath(folderFor("zip-fifo-out"));
        static std::vector<std::string> messages;
        messages.clear();
        for (const char *spec : {"a.ttf", "*"}) {
            UnzSpecRecord record{};
            record.FileSpec = spec;
            UnzipParams params{};
            params.Version = 173;
            params.Callback = [](UnzCallbackRecord *r) {
                if (r->ActionCode == UnzAction::Message)
                    messages.emplace_back(r->FileNameOrMsg);
                return 0;
            };
            params.ArchiveName = archive.constData();
            params.ExtractDir = out.data();
            params.SpecCount = 1;
            params.Specs = &record;
            params.BlockCheck = 7;
            EXPECT_EQ(exec(&params), 0);
        }
        EXPECT_FALSE(fifo.rescued());
        EXPECT_EQ(messages, (std::vector<std::string>{"cannot open archive: not a regular file", "cannot open archive: not a regular file"}));
        ::dlclose(library);
    }
}
