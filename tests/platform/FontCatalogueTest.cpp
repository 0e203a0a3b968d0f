// SPDX-License-Identifier: MIT
#include "FifoGuard.h"
#include "FontCatalogue.h"
#include "FontFamilies.h"
#include "FontsRegistry.h"
#include "NativeFile.h"
#include "SfntBuilder.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::uint8_t> bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

// Writes a file by its native name.
void writeNative(const QByteArray &path, const std::vector<std::uint8_t> &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

bool isRegular(const QString &path)
{
    struct stat info {};
    return ::lstat(nativePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

const EnumeratedFace *findFace(const std::vector<EnumeratedFace> &faces, const QString &name)
{
    const auto it = std::find_if(faces.begin(), faces.end(), [&](const EnumeratedFace &f) { return f.faceName == name; });
    return it == faces.end() ? nullptr : &*it;
}

QStringList namesOf(const std::vector<EnumeratedFace> &faces)
{
    QStringList names;
    for (const EnumeratedFace &f : faces)
        names << f.faceName;
    return names;
}

}

TEST(FontCatalogue, EnumeratesEachFamilyOncePerCharsetFromRealFiles)
{
    TestEnvironment::instance().resetUserFiles();
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const auto faces = catalogue.enumerate(EnumCharset::Default);

    // DejaVu Sans comes from two files (Book and Bold) but is one family; the Book face speaks for it.
    const auto sans = std::count_if(faces.begin(), faces.end(), [](const EnumeratedFace &f) { return f.faceName == QLatin1String("DejaVu Sans"); });
    EXPECT_GT(sans, 3);
    const EnumeratedFace *dejavu = findFace(faces, QStringLiteral("DejaVu Sans"));
    ASSERT_NE(dejavu, nullptr);
    EXPECT_EQ(dejavu->style, QStringLiteral("Book"));
    EXPECT_EQ(dejavu->charset, 0);
    EXPECT_EQ(dejavu->weight, 400);
    EXPECT_EQ(dejavu->lastChar, 255);
    EXPECT_EQ(dejavu->pitchAndFamily, 0x22);
    EXPECT_EQ(dejavu->height, 19);
    EXPECT_FALSE(dejavu->raster);

    const EnumeratedFace *mono = findFace(faces, QStringLiteral("DejaVu Sans Mono"));
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->pitchAndFamily, 0x31);

    // A Windows raster font: the FNT header's values.
    const EnumeratedFace *raster = findFace(faces, QStringLiteral("MS Sans Serif"));
    ASSERT_NE(raster, nullptr);
    EXPECT_TRUE(raster->raster);
    EXPECT_EQ(raster->charset, 0);
    EXPECT_EQ(raster->lastChar, 255);
    EXPECT_GT(raster->height, 0);

    // A symbol font enumerates with the symbol charset only and is not an ANSI face.
    const EnumeratedFace *marlett = findFace(faces, QStringLiteral("Marlett"));
    ASSERT_NE(marlett, nullptr);
    EXPECT_EQ(marlett->charset, 2);
    const auto ansi = catalogue.enumerate(EnumCharset::Ansi);
    EXPECT_FALSE(namesOf(ansi).contains(QStringLiteral("Marlett")));
    EXPECT_TRUE(namesOf(ansi).contains(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(namesOf(ansi).count(QStringLiteral("DejaVu Sans")), 1);
}

TEST(FontCatalogue, TemporaryFontsJoinTheEnumerationWhileAdded)
{
    TestEnvironment::instance().resetUserFiles();
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const QString extra = TestEnvironment::wine(QStringLiteral("fixedsys.ttf"));
    const QStringList before = namesOf(catalogue.enumerate(EnumCharset::Ansi));
    ASSERT_GT(catalogue.addTemporary(extra), 0);
    const QStringList after = namesOf(catalogue.enumerate(EnumCharset::Ansi));
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.last(), QStringLiteral("Fixedsys"));
    EXPECT_TRUE(catalogue.removeTemporary(extra));
    EXPECT_EQ(namesOf(catalogue.enumerate(EnumCharset::Ansi)), before);
    EXPECT_FALSE(catalogue.removeTemporary(extra));

    // What FreeType cannot open is not added.
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("notfonts"));
    QFile empty(folder + QStringLiteral("empty.ttf"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile text(folder + QStringLiteral("text.ttf"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a font at all");
    text.close();
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("empty.ttf")), 0);
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("text.ttf")), 0);
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("missing.ttf")), 0);
}

TEST(FontCatalogue, WarmStartReadsFactsFromTheCache)
{
    TestEnvironment::instance().resetUserFiles();
    const QString cacheFolder = TestEnvironment::instance().paths().cacheFolder;
    std::vector<EnumeratedFace> cold;
    {
        FontCatalogue catalogue(cacheFolder);
        cold = catalogue.enumerate(EnumCharset::Default);
    }
    ASSERT_TRUE(QFile::exists(cacheFolder + FontCatalogue::kCacheFileName));
    FontCatalogue warm(cacheFolder);
    const auto again = warm.enumerate(EnumCharset::Default);
    ASSERT_EQ(again.size(), cold.size());
    for (size_t i = 0; i < cold.size(); ++i) {
        EXPECT_EQ(again[i].faceName, cold[i].faceName);
        EXPECT_EQ(again[i].charset, cold[i].charset);
        EXPECT_EQ(again[i].pitchAndFamily, cold[i].pitchAndFamily);
        EXPECT_EQ(again[i].width, cold[i].width);
        EXPECT_EQ(again[i].raster, cold[i].raster);
    }
}

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void putU32(QByteArray &bytes, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
}

}

TEST(FontCatalogue, ADamagedFactsCacheIsIgnoredAndRebuilt)
{
    TestEnvironment::instance().resetUserFiles();
    const QString cacheFolder = TestEnvironment::instance().paths().cacheFolder;
    const QString cacheFile = cacheFolder + FontCatalogue::kCacheFileName;
    std::vector<EnumeratedFace> want;
    {
        FontCatalogue catalogue(cacheFolder);
        want = catalogue.enumerate(EnumCharset::Default);
    }
    ASSERT_FALSE(want.empty());
    const QByteArray good = fileBytes(cacheFile);
    ASSERT_GT(good.size(), 64);
    // Header: magic (8), version (4), count (4); the first face starts with its path's length.
    struct Damage {
        const char *what;
        QByteArray bytes;
    };
    std::vector<Damage> damages;
    damages.push_back({"empty", QByteArray()});
    damages.push_back({"cut inside the header", good.left(10)});
    damages.push_back({"cut in the middle", good.left(good.size() / 2)});
    damages.push_back({"last byte missing", good.left(good.size() - 1)});
    damages.push_back({"bytes after the last face", good + QByteArray("\0\0\0\0", 4)});
    QByteArray bytes = good;
    bytes[0] = 'X';
    damages.push_back({"another magic", bytes});
    bytes = good;
    putU32(bytes, 8, 2);
    damages.push_back({"another version", bytes});
    bytes = good;
    putU32(bytes, 12, 0xFFFFFFFFu);
    damages.push_back({"a count far beyond the file", bytes});
    bytes = good;
    putU32(bytes, 12, 1);
    damages.push_back({"a count below the faces there", bytes});
    bytes = good;
    putU32(bytes, 16, 0x7FFFFFFFu);
    damages.push_back({"a path length beyond the file", bytes});
    bytes = good;
    putU32(bytes, 16, 0);
    damages.push_back({"an empty path", bytes});
    bytes = good;
    bytes.fill('\xff', good.size() - 16);
    bytes.prepend(good.left(16));
    bytes.truncate(good.size());
    damages.push_back({"every length at its largest", bytes});

    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        writeBytes(cacheFile, damage.bytes);
        FontCatalogue catalogue(cacheFolder);
        const std::vector<EnumeratedFace> got = catalogue.enumerate(EnumCharset::Default);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].faceName, want[i].faceName);
            EXPECT_EQ(got[i].style, want[i].style);
            EXPECT_EQ(got[i].fullName, want[i].fullName);
            EXPECT_EQ(got[i].charset, want[i].charset);
            EXPECT_EQ(got[i].weight, want[i].weight);
            EXPECT_EQ(got[i].lastCode, want[i].lastCode);
            EXPECT_EQ(got[i].height, want[i].height);
        }
        // Every face was read again, and the cache written anew as a whole.
        EXPECT_EQ(fileBytes(cacheFile), good);
    }
}

TEST(FontsRegistry, ValuesNameTheFontAndItsFile)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    FontCatalogue catalogue(paths.cacheFolder);
    FontsRegistry key(catalogue, paths.systemFontsFolder);
    EXPECT_TRUE(key.keyExists(QStringLiteral("software\\microsoft\\windows nt\\currentversion\\fonts")));
    EXPECT_FALSE(key.keyExists(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Fonts")));
    const QString testFonts = TestEnvironment::instance().testFontsFolder();
    EXPECT_EQ(key.readString(QStringLiteral("DejaVu Sans (TrueType)")), testFonts + QStringLiteral("DejaVuSans.ttf"));
    EXPECT_EQ(key.readString(QStringLiteral("DejaVu Sans Bold (TrueType)")), testFonts + QStringLiteral("DejaVuSans-Bold.ttf"));
    EXPECT_EQ(key.readString(QStringLiteral("MS Sans Serif (VGA res)")), testFonts + QStringLiteral("sserife.fon"));

    // A file in the user's font folder is named bare; deleting the value removes it.
    ASSERT_TRUE(QFile::copy(TestEnvironment::wine(QStringLiteral("courier.ttf")), paths.systemFontsFolder + QStringLiteral("courier.ttf")));
    EXPECT_TRUE(key.writeString(QStringLiteral("Courier (TrueType)"), QStringLiteral("courier.ttf")));
    EXPECT_EQ(key.readString(QStringLiteral("Courier (TrueType)")), QStringLiteral("courier.ttf"));
    EXPECT_TRUE(key.deleteValue(QStringLiteral("Courier (TrueType)")));
    EXPECT_FALSE(QFile::exists(paths.systemFontsFolder + QStringLiteral("courier.ttf")));
    EXPECT_FALSE(key.readString(QStringLiteral("Courier (TrueType)")).has_value());
    // A system font outside the user's folder cannot be deleted through the key.
    EXPECT_FALSE(key.deleteValue(QStringLiteral("DejaVu Sans (TrueType)")));
    EXPECT_FALSE(key.writeString(QStringLiteral("X (TrueType)"), QStringLiteral("nothere.ttf")));
}

TEST(FontCatalogue, SpecialFilesAreNeverReadAsFontsOrAsTheCache)
{
    TestEnvironment::instance().resetUserFiles();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("special-fonts"));
    const QString cacheFolder = TestEnvironment::instance().paths().cacheFolder;
    QDir().mkpath(cacheFolder);
    const QString cacheFile = cacheFolder + FontCatalogue::kCacheFileName;
    {
        // A FIFO as the facts cache: not waited on, and replaced by a real cache.
        FifoGuard cache(cacheFile);
        ASSERT_TRUE(cache.made());
        FontCatalogue catalogue(cacheFolder);
        EXPECT_TRUE(namesOf(catalogue.enumerate(EnumCharset::Ansi)).contains(QStringLiteral("DejaVu Sans")));
        EXPECT_FALSE(cache.fired());
        EXPECT_TRUE(isRegular(cacheFile));

        // FIFOs named as fonts: neither kind is added, nor read.
        for (const QString &name : {QStringLiteral("x.ttf"), QStringLiteral("y.fon")}) {
            SCOPED_TRACE(name.toStdString());
            FifoGuard fifo(folder + name);
            ASSERT_TRUE(fifo.made());
            EXPECT_EQ(catalogue.addTemporary(folder + name), 0);
            EXPECT_FALSE(FontCatalogue::readFacts(folder + name, 0).valid);
            EXPECT_FALSE(fifo.fired());
        }
    }

    // A cache past its size limit is not read, and the next save replaces it.
    QFile::remove(cacheFile);
    {
        QFile huge(cacheFile);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(FontCatalogue::kCacheLimit + 1));
    }
    {
        FontCatalogue catalogue(cacheFolder);
        EXPECT_TRUE(namesOf(catalogue.enumerate(EnumCharset::Ansi)).contains(QStringLiteral("DejaVu Sans")));
    }
    EXPECT_LT(QFileInfo(cacheFile).size(), FontCatalogue::kCacheLimit);
    EXPECT_GT(QFileInfo(cacheFile).size(), 0);
}

TEST(FontCatalogue, NamesThatAreNotUtf8ReachTheirOwnFiles)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("bytes-fonts"));
    // The decoy bears the name Qt would make of the other one.
    writeNative(nativePath(folder) + "bad\xff.ttf", bytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    writeNative(nativePath(folder) + "bad\xef\xbf\xbd.ttf", bytesOf(TestEnvironment::wine(QStringLiteral("courier.ttf"))));
    const QString bad = folder + pathFromNative("bad\xff.ttf");
    FontCatalogue catalogue(paths.cacheFolder);
    ASSERT_GT(catalogue.addTemporary(bad), 0);
    ASSERT_NE(catalogue.temporaryFacts(bad), nullptr);
    EXPECT_EQ(catalogue.temporaryFacts(bad)->family, QStringLiteral("Fixedsys"));
    EXPECT_EQ(FontCatalogue::readFacts(bad, 0).family, QStringLiteral("Fixedsys"));
    EXPECT_TRUE(catalogue.removeTemporary(bad));

    // In the fonts folder: the key names each file by its own name and deletes the right one.
    QDir().mkpath(paths.systemFontsFolder);
    const QByteArray fonts = nativePath(paths.systemFontsFolder);
    writeNative(fonts + "bad\xff.ttf", bytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf"))));
    writeNative(fonts + "bad\xef\xbf\xbd.ttf", bytesOf(TestEnvironment::wine(QStringLiteral("courier.ttf"))));
    FontsRegistry key(catalogue, paths.systemFontsFolder);
    EXPECT_TRUE(key.writeString(QStringLiteral("Fixedsys (TrueType)"), pathFromNative("bad\xff.ttf")));
    EXPECT_EQ(key.readString(QStringLiteral("Fixedsys (TrueType)")), pathFromNative("bad\xff.ttf"));
    EXPECT_EQ(key.readString(QStringLiteral("Courier (TrueType)")), pathFromNative("bad\xef\xbf\xbd.ttf"));
    EXPECT_TRUE(key.deleteValue(QStringLiteral("Fixedsys (TrueType)")));
    EXPECT_FALSE(isRegular(paths.systemFontsFolder + pathFromNative("bad\xff.ttf")));
    EXPECT_TRUE(isRegular(paths.systemFontsFolder + pathFromNative("bad\xef\xbf\xbd.ttf")));

    // A full path is linked in by its own name, pointing at its own file.
    const QString linked = folder + pathFromNative("bad\xff.ttf");
    EXPECT_TRUE(key.writeString(QStringLiteral("Fixedsys (TrueType)"), linked));
    EXPECT_EQ(key.readString(QStringLiteral("Fixedsys (TrueType)")), linked);
    const QByteArray link = fonts + "bad\xff.ttf";
    char target[4096] = {};
    ASSERT_GT(::readlink(link.constData(), target, sizeof target - 1), 0);
    EXPECT_EQ(QByteArray(target), nativePath(folder) + "bad\xff.ttf");
}

TEST(FontCatalogue, AFileGetsNoMoreFacesThanItsBytesHold)
{
    TestEnvironment::instance().resetUserFiles();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("many-faces"));
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const auto fixedsys = bytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")));

    // 12,000 faces that all share one table directory are one face.
    writeNative(nativePath(folder) + "shared.ttc", SfntBuilder::collectionOf(fixedsys, 12000, 32 * 12000));
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("shared.ttc")), 1);
    ASSERT_NE(catalogue.temporaryFacts(folder + QStringLiteral("shared.ttc")), nullptr);
    EXPECT_EQ(catalogue.temporaryFacts(folder + QStringLiteral("shared.ttc"))->family, QStringLiteral("Fixedsys"));

    // 2,000 faces with directories of their own in half a megabyte: only as many as any file
    // may have.
    const auto distinct = SfntBuilder::collectionOf(fixedsys, 2000, 0, true);
    ASSERT_LT(distinct.size(), std::size_t(FontCatalogue::kBytesPerFace * FontCatalogue::kFacesAnyFileMayHave));
    writeNative(nativePath(folder) + "distinct.ttc", distinct);
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("distinct.ttc")), FontCatalogue::kFacesAnyFileMayHave);

    // A raster file whose resource table names one font 3,700 times.
    writeNative(nativePath(folder) + "many.fon", SfntBuilder::rasterFileWithFaces(bytesOf(TestEnvironment::wine(QStringLiteral("sserife.fon"))), 3700));
    EXPECT_EQ(catalogue.addTemporary(folder + QStringLiteral("many.fon")), FontCatalogue::kFacesAnyFileMayHave);
    // Real files keep every face.
    EXPECT_EQ(catalogue.addTemporary(TestEnvironment::wine(QStringLiteral("sserife.fon"))), 3);
}

TEST(FontCatalogue, CutHeadersNameJustTheFacesRead)
{
    const auto fixedsys = bytesOf(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")));
    auto asBytes = [](const std::vector<std::uint8_t> &v) { return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<qsizetype>(v.size())); };

    QByteArray shared = asBytes(SfntBuilder::collectionOf(fixedsys, 12000, 32 * 12000));
    EXPECT_EQ(FontCatalogue::usableFaces(shared), 1);
    EXPECT_EQ(shared.mid(8, 4), QByteArray::fromHex("00000001"));
    EXPECT_EQ(FontCatalogue::readFontData(shared).size(), 1u);

    QByteArray distinct = asBytes(SfntBuilder::collectionOf(fixedsys, 200, 0, true));
    EXPECT_EQ(FontCatalogue::usableFaces(distinct), FontCatalogue::kFacesAnyFileMayHave);
    const std::vector<FontFacts> faces = FontCatalogue::readFontData(distinct);
    ASSERT_EQ(faces.size(), std::size_t(FontCatalogue::kFacesAnyFileMayHave));
    EXPECT_TRUE(std::all_of(faces.begin(), faces.end(), [](const FontFacts &f) { return f.valid && f.family == QLatin1String("Fixedsys"); }));

    QByteArray raster = asBytes(SfntBuilder::rasterFileWithFaces(bytesOf(TestEnvironment::wine(QStringLiteral("sserife.fon"))), 3700));
    EXPECT_EQ(FontCatalogue::usableFaces(raster), FontCatalogue::kFacesAnyFileMayHave);
    // Read again, the cut file claims no more.
    EXPECT_EQ(FontCatalogue::usableFaces(raster), FontCatalogue::kFacesAnyFileMayHave);

    EXPECT_TRUE(FontCatalogue::isFontData(asBytes(fixedsys)));
    EXPECT_FALSE(FontCatalogue::isFontData("this is not a font\n"));
    EXPECT_FALSE(FontCatalogue::isFontData(QByteArray()));
}

TEST(FontCatalogue, AFaceNoInstalledFontBearsIsDrawnWithTheFamilyPutInItsPlace)
{
    TestEnvironment::instance().resetUserFiles();
    FontCatalogue catalogue(TestEnvironment::instance().paths().cacheFolder);
    const QStringList families = namesOf(catalogue.enumerate(EnumCharset::Default));
    ASSERT_FALSE(families.contains(QStringLiteral("Times New Roman")));
    // Named as it is, the toolkit would try every installed family in its place, one by one.
    const FaceStyle missing = catalogue.faceStyle(QStringLiteral("Times New Roman"));
    EXPECT_EQ(missing.family, fontconfigFamilyFor(QStringLiteral("Times New Roman")));
    EXPECT_TRUE(families.contains(missing.family)) << missing.family.toStdString();
    EXPECT_TRUE(missing.style.isEmpty());
    // A generic name is no family either.
    EXPECT_TRUE(families.contains(fontconfigFamilyFor(QStringLiteral("Sans Serif"))));
    // Installed families and full names stay as they are.
    EXPECT_EQ(catalogue.faceStyle(QStringLiteral("DejaVu Sans")).family, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(fontconfigFamilyFor(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    const FaceStyle bold = catalogue.faceStyle(QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(bold.family, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(bold.style, QStringLiteral("Bold"));
}

TEST(FontCatalogue, AFamilyListedUnderItsTypographicFamilyIsDrawnAsItsFace)
{
    TestEnvironment::instance().resetUserFiles();
    const Paths paths = TestEnvironment::instance().paths();
    QDir().mkpath(paths.systemFontsFolder);
    const QString file = paths.systemFontsFolder + QStringLiteral("DejaVuSans-ExtraLight.ttf");
    ASSERT_TRUE(QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans-ExtraLight.ttf")), file));
    for (int pass = 0; pass < 2; ++pass) {
        // Read from the file, then from the facts cache the first pass wrote.
        FontCatalogue catalogue(paths.cacheFolder);
        catalogue.rescan(paths.systemFontsFolder);
        // The face's family is "DejaVu Sans Light" (name 1); fontconfig and the toolkit list it as
        // "DejaVu Sans" ExtraLight (names 16 and 17), so it is drawn so, not as DejaVu Sans Book.
        const FaceStyle light = catalogue.faceStyle(QStringLiteral("DejaVu Sans Light"));
        EXPECT_EQ(light.family, QStringLiteral("DejaVu Sans")) << "pass " << pass;
        EXPECT_EQ(light.style, QStringLiteral("ExtraLight")) << "pass " << pass;
        const FaceStyle full = catalogue.faceStyle(QStringLiteral("DejaVu Sans ExtraLight"));
        EXPECT_EQ(full.family, QStringLiteral("DejaVu Sans")) << "pass " << pass;
        EXPECT_EQ(full.style, QStringLiteral("ExtraLight")) << "pass " << pass;
        // Families listed under their own name stay as they are.
        EXPECT_EQ(catalogue.faceStyle(QStringLiteral("DejaVu Sans")).family, QStringLiteral("DejaVu Sans"));
        EXPECT_TRUE(catalogue.faceStyle(QStringLiteral("DejaVu Sans")).style.isEmpty());
    }
    QFile::remove(file);
    FontCatalogue(paths.cacheFolder).rescan(paths.systemFontsFolder);
}

TEST(FontCatalogue, FacesBeingReadElsewhereAreWaitedForNotReadAgain)
{
    TestEnvironment::instance().resetUserFiles();
    const QString cacheFolder = TestEnvironment::instance().paths().cacheFolder;
    CatalogueFont only;
    only.file = QStringLiteral("/nowhere/only.ttf");
    only.facts.valid = true;
    only.facts.family = only.facts.fullName = QStringLiteral("Only Face");
    only.facts.charsets = {0};
    {
        FontCatalogue catalogue(cacheFolder);
        std::promise<std::vector<CatalogueFont>> read;
        catalogue.expectSystemFonts(read.get_future().share());
        std::thread worker([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            read.set_value({only});
        });
        // The faces come from that read, not from fontconfig.
        EXPECT_EQ(namesOf(catalogue.enumerate(EnumCharset::Default)), QStringList{QStringLiteral("Only Face")});
        worker.join();
        // A rescan forgets them and reads again.
        catalogue.rescan();
        EXPECT_TRUE(namesOf(catalogue.enumerate(EnumCharset::Default)).contains(QStringLiteral("DejaVu Sans")));
    }
    {
        // A read dropped before it had the faces: the catalogue reads them itself.
        FontCatalogue catalogue(cacheFolder);
        {
            std::promise<std::vector<CatalogueFont>> dropped;
            catalogue.expectSystemFonts(dropped.get_future().share());
        }
        EXPECT_TRUE(namesOf(catalogue.enumerate(EnumCharset::Default)).contains(QStringLiteral("DejaVu Sans")));
    }
}

// The toolkit's own configuration holds the window's fonts and the system's rules (hinting set by
// the user), but none of the folders the system's files name: those would be read whole.
TEST(FontFamilies, TheToolkitsConfigurationKeepsTheSystemsRulesButReadsNoFolder)
{
    const QString root = TestEnvironment::instance().makeFolder(QStringLiteral("confined"));
    const QString hidden = root + QStringLiteral("/hidden");
    QDir().mkpath(hidden);
    ASSERT_TRUE(QFile::copy(TestEnvironment::dejaVu(QStringLiteral("DejaVuSansMono.ttf")), hidden + QStringLiteral("/mono.ttf")));
    auto write = [](const QString &path, const QString &text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    };
    write(root + QStringLiteral("/rules.conf"),
          QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><match target=\"pattern\"><edit name=\"hintstyle\" mode=\"assign\">"
                         "<const>hintslight</const></edit></match></fontconfig>\n"));
    write(root + QStringLiteral("/folders.conf"), QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir></fontconfig>\n").arg(hidden));
    write(root + QStringLiteral("/fonts.conf"),
          QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir><include>%2/rules.conf</include><include>%2/folders.conf</include>"
                         "<cachedir>%2/fccache</cachedir></fontconfig>\n")
              .arg(TestEnvironment::instance().testFontsFolder(), root));
    const QByteArray saved = qgetenv("FONTCONFIG_FILE");
    qputenv("FONTCONFIG_FILE", (root + QStringLiteral("/fonts.conf")).toUtf8());
    forgetSystemFontConfig();
    ASSERT_EQ(fontconfigFamilyFor(QStringLiteral("DejaVu Sans Mono")), QStringLiteral("DejaVu Sans Mono"));   // the system has it
    ASSERT_TRUE(confineToolkitFonts({QStringLiteral("DejaVu Sans")}));

    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("DejaVu Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    ASSERT_NE(match, nullptr);
    int hintStyle = -1;
    FcPatternGetInteger(match, FC_HINT_STYLE, 0, &hintStyle);
    EXPECT_EQ(hintStyle, FC_HINT_SLIGHT);
    FcChar8 *family = nullptr;
    FcPatternGetString(match, FC_FAMILY, 0, &family);
    EXPECT_STREQ(reinterpret_cast<const char *>(family), "DejaVu Sans");
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    // Nothing of the folder the other file names.
    FcFontSet *listed = FcConfigGetFonts(nullptr, FcSetSystem);
    ASSERT_NE(listed, nullptr);
    for (int i = 0; i < listed->nfont; ++i) {
        FcChar8 *file = nullptr;
        FcPatternGetString(listed->fonts[i], FC_FILE, 0, &file);
        EXPECT_FALSE(QString::fromUtf8(reinterpret_cast<const char *>(file)).startsWith(hidden)) << file;
    }
    qputenv("FONTCONFIG_FILE", saved);
    forgetSystemFontConfig();
}
