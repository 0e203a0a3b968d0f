// SPDX-License-Identifier: MIT
#include "FifoGuard.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "FontsRegistry.h"
#include "InstalledFonts.h"
#include "InstalledFontsList.h"
#include "ListView.h"
#include "NativeFile.h"
#include "QtToolkitFonts.h"
#include "ScriptedPrompter.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QEventLoop>
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
        installed.waitUntilLoaded();
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
    // The toolkit got the face from the file's bytes, under the family it has for that file alone.
    const QString drawn = f.catalogue.temporaryStyle(trueType).family;
    EXPECT_FALSE(drawn.isEmpty());
    EXPECT_EQ(QFontInfo(QFont(drawn)).family(), drawn);

    const QString raster = folder + pathFromNative("small\xff.fon");
    f.release();
    EXPECT_FALSE(f.catalogue.isTemporary(trueType));
    EXPECT_EQ(f.loader.LoadFontFile(raster), 0);
    EXPECT_FALSE(f.loader.loaded().trueType);
    EXPECT_EQ(f.loader.loaded().face, QStringLiteral("Small Fonts"));
    EXPECT_TRUE(f.catalogue.isTemporary(raster));
}

namespace {

QStringList captionsOf(const ListView &list)
{
    QStringList captions;
    for (int row = 0; row < list.count(); ++row)
        captions << list.item(row).caption;
    return captions;
}

// Copies a file, renaming its family in the naming table, so that the copy is a family no other
// file has ("Fixedsys" becomes a name of the same length).
void writeRenamedCopy(const QString &source, const QString &target, const QByteArray &newName)
{
    QFile in(source);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    const QByteArray ascii = "Fixedsys";
    ASSERT_EQ(newName.size(), ascii.size());
    QByteArray utf16, newUtf16;
    for (int i = 0; i < ascii.size(); ++i) {
        utf16.append('\0').append(ascii[i]);
        newUtf16.append('\0').append(newName[i]);
    }
    bytes.replace(utf16, newUtf16).replace(ascii, newName);
    QFile out(target);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

}

TEST(FontLoader, PreviewedFontsAreNeverListedAndInstalledMeansTheSameFile)
{
    TestEnvironment::instance().resetUserFiles();
    LoaderFixture f;
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("load-installed"));
    const QString previewed = folder + QStringLiteral("previewed.ttf");
    writeRenamedCopy(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), previewed, "Zqvwxsys");

    // A font only previewed is not installed, and a refresh does not list it.
    ASSERT_EQ(f.loader.LoadFontFile(previewed), 0);
    EXPECT_EQ(f.loader.loaded().face, QStringLiteral("Zqvwxsys"));
    EXPECT_FALSE(f.loader.loaded().installed);
    f.installed.RefreshInstalledFontsList();
    f.installed.waitUntilLoaded();
    EXPECT_GT(f.installed.list().count(), 0);
    EXPECT_FALSE(captionsOf(f.installed.list()).contains(QStringLiteral("Zqvwxsys")));
    f.release();

    // An installed file, reached through another path, and a copy of it elsewhere are installed.
    ASSERT_EQ(f.loader.LoadFontFile(TestEnvironment::dejaVu(QStringLiteral("DejaVuSans.ttf"))), 0);
    EXPECT_TRUE(f.loader.loaded().installed);
    f.release();
    const QString copy = folder + QStringLiteral("copy-of-tahoma.ttf");
    ASSERT_TRUE(QFile::copy(TestEnvironment::wine(QStringLiteral("tahoma.ttf")), copy));
    ASSERT_EQ(f.loader.LoadFontFile(copy), 0);
    EXPECT_TRUE(f.loader.loaded().installed);
    f.release();
    // A font of an installed face's name in a file of other content is not.
    const QString sameName = folder + QStringLiteral("tahoma-changed.ttf");
    ASSERT_TRUE(QFile::copy(TestEnvironment::wine(QStringLiteral("tahoma.ttf")), sameName));
    {
        QFile changed(sameName);
        ASSERT_TRUE(changed.open(QIODevice::Append));
        changed.write(QByteArray(4, '\0'));
    }
    ASSERT_EQ(f.loader.LoadFontFile(sameName), 0);
    EXPECT_EQ(f.loader.loaded().face, QStringLiteral("Tahoma"));
    EXPECT_FALSE(f.loader.loaded().installed);
    f.release();
}

TEST(FontLoader, RefreshesWhileAReadRunsEndWithOneList)
{
    TestEnvironment::instance().resetUserFiles();
    LoaderFixture f;
    const QStringList complete = captionsOf(f.installed.list());
    ASSERT_GE(complete.size(), 4);
    f.installed.setBatchRows(1);

    // A refresh while the first read has shown nothing joins it; one after rows came restarts;
    // several in a row end with the list once.
    f.installed.FillInstalledFontsList();
    f.installed.RefreshInstalledFontsList();
    EXPECT_TRUE(f.installed.loading());
    f.installed.waitUntilLoaded();
    EXPECT_EQ(captionsOf(f.installed.list()), complete);
    EXPECT_EQ(f.installed.list().selectedRow(), 0);

    f.installed.FillInstalledFontsList();
    while (f.installed.list().count() < 2 || f.installed.list().count() == complete.size())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(f.installed.loading());
    f.installed.RefreshInstalledFontsList();
    f.installed.RefreshInstalledFontsList();
    f.installed.waitUntilLoaded();
    EXPECT_EQ(captionsOf(f.installed.list()), complete);

    // A selection made between batches stays on its row while the rest comes.
    f.installed.FillInstalledFontsList();
    while (f.installed.list().count() < 2 || f.installed.list().count() == complete.size())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(f.installed.loading());
    std::vector<int> selected;
    QObject::connect(&f.installed.list(), &ListView::selectItem, [&](int row, bool on) {
        if (on)
            selected.push_back(row);
    });
    f.installed.list().selectRow(1);
    EXPECT_EQ(selected, std::vector<int>{1});
    f.installed.waitUntilLoaded();
    EXPECT_EQ(f.installed.list().selectedRow(), 1);
    EXPECT_EQ(captionsOf(f.installed.list()), complete);
}

TEST(FontLoader, ARowRemovedFromTheListNoLongerNamesTheFaceOfItsFile)
{
    TestEnvironment::instance().resetUserFiles();
    LoaderFixture f;
    const ListView &list = f.installed.list();
    auto fileNameOf = [&](int row) {
        const QString file = list.item(row).subItems[FontsListColumn::FileName];
        return file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    };
    // A row whose file no other row names.
    int row = -1;
    for (int r = 0; r < list.count() && row < 0; ++r) {
        int same = 0;
        for (int other = 0; other < list.count(); ++other)
            same += fileNameOf(other) == fileNameOf(r);
        if (same == 1)
            row = r;
    }
    ASSERT_GE(row, 0);
    const QString fileName = fileNameOf(row);
    const QString caption = list.item(row).caption;
    const QString lastFileName = fileNameOf(list.count() - 1);
    const QString lastCaption = list.item(list.count() - 1).caption;
    ASSERT_EQ(f.installed.faceOfFile(fileName), caption);

    // An uninstall takes the row out of the list; its file no longer names a face, and the rows
    // after it still name theirs.
    f.installed.list().removeItem(row);
    EXPECT_EQ(f.installed.faceOfFile(fileName), QString());
    if (lastFileName != fileName)
        EXPECT_EQ(f.installed.faceOfFile(lastFileName), lastCaption);
    f.installed.RefreshInstalledFontsList();
    f.installed.waitUntilLoaded();
    EXPECT_EQ(f.installed.faceOfFile(fileName), caption);
}
