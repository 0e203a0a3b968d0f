// SPDX-License-Identifier: MIT
#include "FaceFont.h"
#include "FifoGuard.h"
#include "FontCatalogue.h"
#include "FontLoader.h"
#include "FormFixture.h"
#include "NativeFile.h"

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>

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

}

TEST(FontLoader, SpecialAndOversizedFilesAreRefusedWithAMessage)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("load-special"));
    const QString status = c.StatusPanels[3]->text();

    // FIFOs of either kind: told at once, never waited on.
    for (const QString &name : {QStringLiteral("x.ttf"), QStringLiteral("y.fon")}) {
        SCOPED_TRACE(name.toStdString());
        FifoGuard fifo(folder + name);
        ASSERT_TRUE(fifo.made());
        f.form->ReleaseCurrentFont();
        f.prompter.willAnswer(MessageAnswer::Ok);
        EXPECT_EQ(f.form->previewFontFile(folder + name), 2);
        EXPECT_FALSE(fifo.fired());
        ASSERT_FALSE(f.prompter.messages().empty());
        EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load ") + folder + name + QStringLiteral(": it is not a regular file."));
        EXPECT_EQ(f.prompter.messages().back().icon, MessageIcon::Error);
        EXPECT_EQ(c.StatusPanels[3]->text(), status);
        EXPECT_FALSE(f.catalogue.isTemporary(folder + name));
    }

    // A file larger than any font (a sparse one: it takes no room).
    const QString huge = folder + QStringLiteral("huge.ttf");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(FontCatalogue::kFontFileLimit + 1));
    }
    f.form->ReleaseCurrentFont();
    f.prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_EQ(f.form->previewFontFile(huge), 2);
    EXPECT_EQ(f.prompter.messages().back().text, QStringLiteral("Cannot load ") + huge + QStringLiteral(": the file is larger than 256 MB."));

    // A file that is not there fails as before, without a word.
    const size_t shown = f.prompter.messages().size();
    f.form->ReleaseCurrentFont();
    EXPECT_EQ(f.form->previewFontFile(folder + QStringLiteral("missing.ttf")), 2);
    EXPECT_EQ(f.prompter.messages().size(), shown);
}

TEST(FontLoader, NamesThatAreNotUtf8PreviewTheirOwnFile)
{
    FormFixture f;
    f.show();
    TFormPreviewUi &c = f.form->ui();
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("load-bytes"));
    const QByteArray native = nativePath(folder);
    // Each decoy bears the name Qt would make of the file beside it.
    copyNative(TestEnvironment::wine(QStringLiteral("fixedsys.ttf")), native + "bad\xff.ttf");
    copyNative(TestEnvironment::wine(QStringLiteral("courier.ttf")), native + "bad\xef\xbf\xbd.ttf");
    copyNative(TestEnvironment::wine(QStringLiteral("smalle.fon")), native + "small\xff.fon");
    copyNative(TestEnvironment::wine(QStringLiteral("coure.fon")), native + "small\xef\xbf\xbd.fon");

    const QString trueType = folder + pathFromNative("bad\xff.ttf");
    f.form->ReleaseCurrentFont();
    EXPECT_EQ(f.form->previewFontFile(trueType), 0);
    EXPECT_EQ(c.StatusPanels[1]->text(), pathFromNative("bad\xff.ttf"));
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Fixedsys"));
    EXPECT_EQ(faceName(c.Preview), QStringLiteral("Fixedsys"));
    EXPECT_TRUE(f.catalogue.isTemporary(trueType));
    ASSERT_NE(f.catalogue.temporaryFacts(trueType), nullptr);
    EXPECT_EQ(f.catalogue.temporaryFacts(trueType)->family, QStringLiteral("Fixedsys"));
    // The toolkit draws the face from the file's bytes.
    EXPECT_EQ(QFontInfo(c.Preview->font()).family(), QStringLiteral("Fixedsys"));

    const QString raster = folder + pathFromNative("small\xff.fon");
    f.form->ReleaseCurrentFont();
    EXPECT_FALSE(f.catalogue.isTemporary(trueType));
    EXPECT_EQ(f.form->previewFontFile(raster), 0);
    EXPECT_EQ(c.StatusPanels[3]->text(), QStringLiteral("Small Fonts"));
    EXPECT_TRUE(f.catalogue.isTemporary(raster));
}
