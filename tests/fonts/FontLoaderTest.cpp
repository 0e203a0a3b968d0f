// SPDX-License-Identifier: MIT
#include "FifoGuard.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "FontsRegistry.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "NativeFile.h"
#include "QtToolkitFonts.h"
#include "ScriptedPrompter.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QFont>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Copies a file to a native name.
void copyNative(const QString &source, const QByteArray &target)
{
    QFile in(source);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray content = in.readAll();
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << target.constData();
    ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    ::close(fd);
}

// Font loading on its own: the catalogue (telling the toolkit), the installed-fonts list it asks
// for faces, and a prompter for what it refuses.
struct LoaderFixture {
    LoaderFixture()
        : paths(TestEnvironment::instance().paths())
        , catalogue(paths.cacheFolder, &toolkitFonts)
        , fontsKey(catalogue, paths.systemFontsFolder)
        , installed(catalogue, fontsKey, FontsRegistry::kKeyPath, list)
        , loader(prompter, catalogue, installed)
    {
        installed.BuildInstalledFontFiles();
        installed.FillInstalledFontsList();
    }
    // What every caller does before loading the next file.
    void release() { releaseFontRecord(loader.CurrentFont, catalogue); }

    Paths paths;
    ScriptedPrompter prompter;
    QtToolkitFonts toolkitFonts;
    FontCatalogue catalogue;
    FontsRegistry fontsKey;
    ListView list;
    InstalledFontsList installed;
    FontLoader loader;
};

}

TEST(FontLoader, SpecialAndOversizedFilesAreRefusedWithAMessage)
{
    TestEnvironment::instance().resetUserFiles();
    LoaderFixture f;
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("load-special"));

    // FIFOs of either kind: told at once, never waited on, nothing loaded.
    for (const QString &name : {QStringLiteral("x.ttf"), QStringLiteral("y.fon")}) {
        SCOPED_TRACE(name.toStdString());
        FifoGuard fifo(folder + name);
        ASSERT_TRUE(fifo.made());
        f.release();
        f.prompter.willAnswer(MessageAnswer::Ok);
        EXPECT_EQ(f.loader.LoadFontFile(folder + name), 2);
        EXPECT_FALSE(fifo.fired());
        ASSERT_FALSE(f.prompter.messages().empty());
        EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load ") + folder + name + QStringLiteral(": it is not a regular file."));
        EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
        EXPECT_TRUE(f.loader.loaded().path.isEmpty());
        EXPECT_FALSE(f.catalogue.isTemporary(folder + name));
    }

    // A file larger than any font (a sparse one: it takes no room).
    const QString huge = folder + QStringLiteral("huge.ttf");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(FontCatalogue::kFontFileLimit + 1));
    }
    f.release();
    f.prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_EQ(f.loader.LoadFontFile(huge), 2);
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load ") + huge + QStringLiteral(": the file is larger than 256 MB."));

    // A file that is not there fails as before, without a word.
    const size_t shown = f.prompter.messages().size();
    f.release();
    EXPECT_EQ(f.loader.LoadFontFile(folder + QStringLiteral("missing.ttf")), 2);
    EXPECT_EQ(f.prompter.messages().size(), shown);
    EXPECT_TRUE(f.loader.loaded().path.isEmpty());
}

TEST(FontLoader, NamesThatAreNotUtf8LoadTheirOwnFile)
{
    TestEnvironment::instance().resetUserFiles();
    LoaderFixture f;
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("load-bytes"));
    const QByteArray native = nativePath(folder);
    // Each decoy bears the name Qt would make of the file beside it.
    copyNative(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), native + "bad\xff.ttf");
    copyNative(TestEnvironment::wine(QStringLiteral("courier.ttf")), native + "bad\xef\xbf\xbd.ttf");
    copyNative(TestEnvironment::wine(QStringLiteral("smalle.fon")), native + "small\xff.fon");
    copyNative(TestEnvironment::wine(QStringLiteral("coure.fon")), native + "small\xef\xbf\xbd.fon");

    const QString trueType = folder + pathFromNative("bad\xff.ttf");
    EXPECT_EQ(f.loader.LoadFontFile(trueType), 0);
    EXPECT_EQ(f.loader.loaded().fileName, pathFromNative("bad\xff.ttf"));
    EXPECT_EQ(f.loader.loaded().face, QStringLiteral("Fixedsys"));
    EXPECT_TRUE(f.loader.loaded().trueType);
    EXPECT_FALSE(f.loader.loaded().installed);
    EXPECT_EQ(f.loader.CurrentFont.FontFilePath, trueType);
    EXPECT_EQ(f.loader.CurrentFont.FontNames[4], QStringLiteral("Fixedsys"));
    EXPECT_TRUE(f.catalogue.isTemporary(trueType));
    ASSERT_NE(f.catalogue.temporaryFacts(trueType), nullptr);
    EXPECT_EQ(f.catalogue.temporaryFacts(trueType)->family, QStringLiteral("Fixedsys"));
    // The toolkit got the face from the file's bytes, not from the decoy.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Fixedsys"))).family(), QStringLiteral("Fixedsys"));

    const QString raster = folder + pathFromNative("small\xff.fon");
    f.release();
    EXPECT_FALSE(f.catalogue.isTemporary(trueType));
    EXPECT_EQ(f.loader.LoadFontFile(raster), 0);
    EXPECT_FALSE(f.loader.loaded().trueType);
    EXPECT_EQ(f.loader.loaded().face, QStringLiteral("Small Fonts"));
    EXPECT_TRUE(f.catalogue.isTemporary(raster));
}
