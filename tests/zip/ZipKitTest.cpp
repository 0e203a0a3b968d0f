// SPDX-License-Identifier: MIT
#include "PasswordDialog.h"
#include "ScriptedPrompter.h"
#include "TZipKit.h"
#include "TestEnvironment.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

QString folderFor(const char *name)
{
    return TestEnvironment::instance().makeFolder(QString::fromLatin1(name));
}

QString write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList namesOf(const TZipKit &kit)
{
    QStringList names;
    for (const ZipDirEntry &e : kit.DirEntries)
        names << e.FileName;
    return names;
}

// Runs Info-ZIP's zip in a folder.
bool zipTool(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q")} + arguments);
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

const QString kNotice = QStringLiteral("The message table is probably not linked to the executable\nMissing String ID is: ");

}

TEST(ZipMessages, FallbackTextsAndTheirDisplay)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    QStringList seen;
    kit.OnMessage = [&](int id, const QString &text) { seen << QString::number(id) + QLatin1Char(':') + text; };
    prompter.willAnswer(MessageAnswer::Ok);
    kit.ShowZipMessage(10102, QString());
    EXPECT_EQ(prompter.messages().back().text, kNotice + QStringLiteral("10102 "));
    EXPECT_EQ(kit.ErrCode, 10102);

    EXPECT_EQ(EZipKit(11036, true).message(), QStringLiteral("ZipKit [ 11036 ]"));
    EXPECT_EQ(EZipKit(10650, QStringLiteral("UNZLIB.DLL")).message(), QStringLiteral("ZipKit [ 10650 ], UNZLIB.DLL"));
    EXPECT_EQ(EZipKit(11038, 3).message(), QStringLiteral("ZipKit [ 11038 ], 3"));
    EXPECT_EQ(EZipKit(1, QStringLiteral("a"), QStringLiteral("b")).message(), QStringLiteral("ZipKit [ 1 ], a, b"));
    EXPECT_FALSE(EZipKitAbort().ShowBox);
    EXPECT_EQ(EZipKitAbort().MessageId, 11007);

    prompter.willAnswer(MessageAnswer::Ok);
    kit.ShowExceptionError(EZipKit(10650, QStringLiteral("UNZLIB.DLL")));
    EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 10650 ], UNZLIB.DLL"));
    EXPECT_EQ(kit.LastMessage, kNotice + QStringLiteral("10650"));
    kit.ShowExceptionError(EZipKit(11007, false));   // no box

    // Unattended: no box, the rest as always.
    kit.Unattended = true;
    kit.ShowZipMessage(10204, QStringLiteral("x"));
    EXPECT_EQ(kit.ErrCode, 10204);
    EXPECT_EQ(kit.LastMessage, kNotice + QStringLiteral("10204 x"));
    EXPECT_EQ(seen.back(), QStringLiteral("10204:") + kNotice + QStringLiteral("10204 x"));
    EXPECT_EQ(prompter.messages().size(), 2u);

    // A text from OnZipStr replaces the notice.
    kit.OnZipStr = [](int id, QString &text) {
        if (id == 10204)
            text = QStringLiteral("Trailing bytes");
    };
    kit.ShowZipMessage(10204, QStringLiteral(" after the archive"));
    EXPECT_EQ(kit.LastMessage, QStringLiteral("Trailing bytes after the archive"));
    EXPECT_EQ(kit.LoadZipStr(10154, QStringLiteral("fallback")), QStringLiteral("fallback"));

    EXPECT_EQ(TZipKit::PerCent(0, 5), 0);
    EXPECT_EQ(TZipKit::PerCent(100, 0), 0);
    EXPECT_EQ(TZipKit::PerCent(200, 50), 25);
    EXPECT_EQ(TZipKit::PerCent(30000, 15000), 50);
    EXPECT_EQ(TZipKit::PerCent(50000, 49999), 99);
}

TEST(ZipDirectory, NamesMissingFilesAndWhatIsNotAnArchive)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    int updates = 0;
    kit.OnDirUpdate = [&] { ++updates; };
    kit.SetFileName(QString());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(kit.Count(), 0);

    const QString folder = folderFor("zip-names");
    kit.SetFileName(folder + QStringLiteral("absent.zip"));
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(kit.Count(), 0);

    write(folder + QStringLiteral("text.zip"), "this is not an archive at all, no end record here");
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("text.zip"));
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("ZipKit [ 11036 ]"));
    EXPECT_EQ(kit.ErrCode, 11036);
    EXPECT_EQ(kit.ZipFileName(), folder + QStringLiteral("text.zip"));
    EXPECT_EQ(updates, 2);

    // A folder named like an archive and an empty file are no archives either.
    QDir().mkpath(folder + QStringLiteral("dir.zip"));
    write(folder + QStringLiteral("empty.zip"), QByteArray());
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("empty.zip"));
    EXPECT_EQ(kit.Count(), 0);
    // A folder cannot even be opened as a file: that is told first.
    prompter.willAnswer(MessageAnswer::Ok);
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("dir.zip"));
    EXPECT_EQ(kit.Count(), 0);
    EXPECT_EQ(prompter.messages()[prompter.messages().size() - 2].text, kNotice + QStringLiteral("11002 "));
    EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 11036 ]"));
}

TEST(ZipDirectory, EntriesCommentsPaddingAndStubs)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString folder = folderFor("zip-entries");

    ZipBuilder empty;
    kit.SetFileName(write(folder + QStringLiteral("empty.zip"), empty.build()));
    EXPECT_EQ(kit.Count(), 0);
    EXPECT_EQ(kit.LeadingBytes, 0);

    ZipBuilder fonts;
    fonts.add("a.ttf").add("sub/b.fon").add("sub/").add("c.TTF");
    fonts.comment = "an archive comment";
    kit.SetFileName(write(folder + QStringLiteral("fonts.zip"), fonts.build()));
    EXPECT_EQ(namesOf(kit), (QStringList{QStringLiteral("a.ttf"), QStringLiteral("sub\\b.fon"), QStringLiteral("c.TTF")}));
    EXPECT_EQ(kit.DroppedDirCount, 1);
    EXPECT_EQ(kit.ZipComment(), QStringLiteral("an archive comment"));
    EXPECT_EQ(kit.DirEntry(1).UncompressedSize, 4u);
    EXPECT_EQ(kit.DirEntry(1).Crc32, ZipBuilder::crcOf("data"));
    kit.UseDirOnlyEntries = true;
    kit.SetFileName(folder + QStringLiteral("fonts.zip"));
    EXPECT_EQ(kit.Count(), 4);
    kit.UseDirOnlyEntries = false;

    // Zero bytes padding the file to a 512-byte block: quiet. One other byte: warning 10204.
    ZipBuilder padded = fonts;
    padded.comment.clear();
    const qsizetype size = padded.build().size();
    padded.trailing = QByteArray(512 - size % 512, '\0');
    kit.SetFileName(write(folder + QStringLiteral("padded.zip"), padded.build()));
    EXPECT_EQ(kit.Count(), 3);
    padded.trailing[0] = 'x';
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(write(folder + QStringLiteral("trailing.zip"), padded.build()));
    EXPECT_EQ(prompter.messages().back().text, kNotice + QStringLiteral("10204 "));
    EXPECT_EQ(kit.Count(), 3);

    // A self-extractor stub, with offsets that ignore it and with offsets that count it.
    ZipBuilder sfx = fonts;
    sfx.stub = QByteArray("MZ") + QByteArray(998, 's');
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(write(folder + QStringLiteral("sfx1.exe"), sfx.build()));
    EXPECT_EQ(prompter.messages().back().text, kNotice + QStringLiteral("10203 "));
    EXPECT_EQ(kit.Count(), 3);
    EXPECT_EQ(kit.LeadingBytes, 1000);
    EXPECT_TRUE(kit.OffsetMismatch);
    EXPECT_TRUE(kit.IsZipSFX(folder + QStringLiteral("sfx1.exe")) == false);
    sfx.offsetsIncludeStub = true;
    const std::size_t before = prompter.messages().size();
    kit.SetFileName(write(folder + QStringLiteral("sfx2.exe"), sfx.build()));
    EXPECT_EQ(prompter.messages().size(), before);
    EXPECT_EQ(kit.LeadingBytes, 1000);
    EXPECT_TRUE(kit.IsZipSFX(folder + QStringLiteral("sfx2.exe")));
    EXPECT_EQ(kit.QueryZip(folder + QStringLiteral("sfx2.exe")), 0x01 | 0x10 | 0x20 | 0x40 | 0x80);
    // With its comment the end record still ends the file.
    EXPECT_EQ(kit.QueryZip(folder + QStringLiteral("fonts.zip")), 0x02 | 0x10 | 0x20 | 0x40 | 0x80);
    EXPECT_EQ(kit.QueryZip(folder + QStringLiteral("absent.zip")), -7);
}

TEST(ZipDirectory, NameEncodingsAndZip64)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString folder = folderFor("zip-encodings");
    ZipBuilder names;
    names.add("dos\x81.ttf");                          // DOS host, code page 437: u-umlaut
    names.entries.back().host = 0;
    names.add("utf8-\xc3\xa9.ttf");                    // flagged as UTF-8
    names.entries.back().host = 0;
    names.entries.back().flags = 0x0800;
    names.add("unix-\xd0\x96.ttf");                    // a Unix name that is valid UTF-8
    names.add("ntfs\x81.ttf");
    names.entries.back().host = 11;
    names.entries.back().versionMadeBy = 50;
    kit.SetFileName(write(folder + QStringLiteral("names.zip"), names.build()));
    EXPECT_EQ(namesOf(kit), (QStringList{QStringLiteral("dos\u00FC.ttf"), QStringLiteral("utf8-\u00E9.ttf"), QStringLiteral("unix-Ж.ttf"),
                                         QStringLiteral("ntfs\u00FC.ttf")}));
    kit.CodePage = TZipKit::cpNone;
    kit.SetFileName(folder + QStringLiteral("names.zip"));
    EXPECT_EQ(kit.DirEntry(0).FileName, QStringLiteral("dos\u0081.ttf"));
    kit.CodePage = TZipKit::cpAUTO;

    ZipBuilder big;
    for (int i = 0; i < 5; ++i)
        big.add(QByteArray("f") + QByteArray::number(i) + ".ttf");
    big.zip64 = true;
    kit.SetFileName(write(folder + QStringLiteral("zip64.zip"), big.build()));
    EXPECT_EQ(kit.Count(), 5);
    EXPECT_EQ(kit.DirEntry(4).FileName, QStringLiteral("f4.ttf"));
}

TEST(ZipDirectory, DamagedDirectoriesKeepWhatWasReadAndTellWhy)
{
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString folder = folderFor("zip-damaged");
    ZipBuilder damaged;
    damaged.add("one.ttf").add("two.ttf").add("three.ttf");
    damaged.entries[2].signature = 0x12345678;
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(write(folder + QStringLiteral("wrongsig.zip"), damaged.build()));
    EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 11015 ]"));
    EXPECT_EQ(kit.DirEntries.size(), 2u);
    EXPECT_EQ(kit.ZipFileName(), QString());
    EXPECT_EQ(kit.Count(), 0);
    EXPECT_EQ(kit.ErrCode, 11015);

    // Every truncation of a good archive: cut anywhere before the end record is complete, it is no
    // archive (11036, the name kept, nothing listed); cut in the comment, both entries are listed
    // with the warning for a record that does not end the file (10204).
    ZipBuilder good;
    good.add("a.ttf", "0123456789").add("b.ttf");
    good.comment = "comment";
    const QByteArray whole = good.build();
    const qsizetype endRecord = whole.lastIndexOf(QByteArray("\x50\x4b\x05\x06", 4));
    kit.Unattended = true;
    for (qsizetype size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        const QString cut = write(folder + QStringLiteral("cut.zip"), whole.left(size));
        kit.SetFileName(cut);
        if (size < endRecord + 22) {
            EXPECT_EQ(namesOf(kit), QStringList());
            EXPECT_EQ(kit.ErrCode, 11036);
            EXPECT_EQ(kit.ZipFileName(), cut);
        } else {
            EXPECT_EQ(namesOf(kit), (QStringList{QStringLiteral("a.ttf"), QStringLiteral("b.ttf")}));
            EXPECT_EQ(kit.ErrCode, 10204);
            EXPECT_EQ(kit.Count(), 2);
        }
    }
    // A count that runs past the directory ends at the end of the volume.
    QByteArray tooMany = whole;
    const qsizetype end = tooMany.lastIndexOf(QByteArray("\x50\x4b\x05\x06", 4));
    tooMany[end + 10] = static_cast<char>(200);
    kit.SetFileName(write(folder + QStringLiteral("count.zip"), tooMany));
    EXPECT_NE(kit.ErrCode, 0);
    EXPECT_EQ(kit.Count(), 0);
}

TEST(ZipDirectory, SplitArchivesInBothNamings)
{
    const QString folder = folderFor("zip-split");
    QByteArray noise;
    for (int i = 0; i < 300000; ++i)
        noise += static_cast<char>((static_cast<unsigned>(i) * 7919u) % 251u);
    write(folder + QStringLiteral("one.ttf"), noise);
    write(folder + QStringLiteral("two.fon"), noise.right(100000));
    ASSERT_TRUE(zipTool(folder, {QStringLiteral("-0"), QStringLiteral("-s"), QStringLiteral("100k"), QStringLiteral("set.zip"),
                                 QStringLiteral("one.ttf"), QStringLiteral("two.fon")}));
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("set.z01")));

    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SpanOptions = TZipKit::spCompatName;
    kit.SetFileName(folder + QStringLiteral("set.zip"));
    EXPECT_EQ(namesOf(kit), (QStringList{QStringLiteral("one.ttf"), QStringLiteral("two.fon")}));
    EXPECT_TRUE(kit.Spanned);
    EXPECT_GT(kit.LastDiskNo, 0);

    // The same volumes named set001.zip, set002.zip, ...
    const QString numbered = folderFor("zip-numbered");
    const int volumes = kit.LastDiskNo + 1;
    for (int i = 1; i <= volumes; ++i) {
        const QString from = i == volumes ? folder + QStringLiteral("set.zip") : folder + QStringLiteral("set.z%1").arg(i, 2, 10, QLatin1Char('0'));
        QFile::copy(from, numbered + QStringLiteral("set%1.zip").arg(i, 3, 10, QLatin1Char('0')));
    }
    TZipKit second(prompter);
    second.SetFileName(numbered + QStringLiteral("set.zip"));
    EXPECT_EQ(namesOf(second), (QStringList{QStringLiteral("one.ttf"), QStringLiteral("two.fon")}));

    // Extraction joins the volumes first.
    kit.ExtrBaseDir = folderFor("zip-split-out");
    kit.FSpecArgs = QStringList{QStringLiteral("two.fon")};
    kit.Extract();
    EXPECT_EQ(kit.SuccessCount, 1);
    EXPECT_EQ(contentOf(kit.ExtrBaseDir + QStringLiteral("two.fon")), noise.right(100000));
}

TEST(ZipExtract, StoredDeflatedAndEncryptedEntries)
{
    const QString folder = folderFor("zip-extract");
    write(folder + QStringLiteral("plain.ttf"), QByteArray(5000, 'p'));
    write(folder + QStringLiteral("secret.fon"), "top secret glyphs");
    ASSERT_TRUE(zipTool(folder, {QStringLiteral("deflated.zip"), QStringLiteral("plain.ttf")}));
    ASSERT_TRUE(zipTool(folder, {QStringLiteral("-P"), QStringLiteral("pw"), QStringLiteral("locked.zip"), QStringLiteral("secret.fon")}));
    ZipBuilder stored;
    stored.add("dir/stored.ttf", "stored bytes");
    stored.write(folder + QStringLiteral("stored.zip"));

    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString out = folderFor("zip-extract-out");
    const QString working = QDir::currentPath();
    kit.ExtrBaseDir = out;
    kit.SetFileName(folder + QStringLiteral("stored.zip"));
    kit.FSpecArgs = QStringList{QStringLiteral("dir\\stored.ttf")};
    EXPECT_EQ(kit.Extract(), 0);
    EXPECT_EQ(kit.SuccessCount, 1);
    EXPECT_EQ(contentOf(out + QStringLiteral("stored.ttf")), QByteArray("stored bytes"));
    EXPECT_TRUE(kit.FSpecArgs.isEmpty());
    EXPECT_EQ(QDir::currentPath(), working);
    EXPECT_EQ(kit.UnzVersion(), 0);   // unloaded after the run

    std::vector<int> itemPercents;
    kit.OnItemProgress = [&](const QString &, qint64, int perCent) { itemPercents.push_back(perCent); };
    kit.SetFileName(folder + QStringLiteral("deflated.zip"));
    kit.FSpecArgs = QStringList{QStringLiteral("*.ttf")};
    kit.Extract();
    EXPECT_EQ(contentOf(out + QStringLiteral("plain.ttf")), QByteArray(5000, 'p'));
    ASSERT_GE(itemPercents.size(), 3u);
    EXPECT_EQ(itemPercents.front(), 0);
    EXPECT_EQ(itemPercents[itemPercents.size() - 2], 100);
    EXPECT_EQ(itemPercents.back(), -1);

    // Encrypted: with the password, and through the password dialog.
    kit.SetFileName(folder + QStringLiteral("locked.zip"));
    kit.Password = QStringLiteral("pw");
    kit.FSpecArgs = QStringList{QStringLiteral("secret.fon")};
    kit.Extract();
    EXPECT_EQ(contentOf(out + QStringLiteral("secret.fon")), QByteArray("top secret glyphs"));
    QFile::remove(out + QStringLiteral("secret.fon"));
    kit.Password.clear();
    prompter.willRunDialog([](QDialog &dialog) {
        auto &prompt = static_cast<PasswordDialog &>(dialog);
        EXPECT_EQ(prompt.Field->maxLength(), 80);
        EXPECT_EQ(prompt.Field->echoMode(), QLineEdit::Password);
        EXPECT_EQ(prompt.Buttons.size(), 3);
        EXPECT_EQ(prompt.Buttons[1]->geometry(), QRect(144, 96, 114, 28));
        EXPECT_EQ(prompt.Field->width(), 3 * 124 - 10);
        prompt.Field->setText(QStringLiteral("pw"));
        return static_cast<int>(PasswordDialog::Ok);
    });
    kit.FSpecArgs = QStringList{QStringLiteral("secret.fon")};
    kit.Extract();
    EXPECT_EQ(contentOf(out + QStringLiteral("secret.fon")), QByteArray("top secret glyphs"));

    // Unattended without a password: 10502, nothing written.
    QFile::remove(out + QStringLiteral("secret.fon"));
    kit.Unattended = true;
    kit.FSpecArgs = QStringList{QStringLiteral("secret.fon")};
    kit.Extract();
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("secret.fon")));
    EXPECT_EQ(kit.PasswordReqCount, 1u);
    kit.Unattended = false;

    // No archive name: 10102.
    TZipKit none(prompter);
    none.FSpecArgs = QStringList{QStringLiteral("x")};
    prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_EQ(none.Extract(), 10102);
    EXPECT_EQ(none.FSpecArgs, QStringList{QStringLiteral("x")});
}

TEST(ZipExtract, CallbackAnswersWithAndWithoutHandlers)
{
    const QString folder = folderFor("zip-callback");
    ZipBuilder badCrc;
    badCrc.add("bad.ttf", "the bytes").add("good.ttf", "fine");
    QByteArray bytes = badCrc.build();
    // Damage the data of the first entry (its CRC no longer matches).
    bytes[30 + 7] = 'X';
    write(folder + QStringLiteral("crc.zip"), bytes);

    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString out = folderFor("zip-callback-out");
    kit.ExtrBaseDir = out;
    kit.SetFileName(folder + QStringLiteral("crc.zip"));
    kit.FSpecArgs = QStringList{QStringLiteral("*")};
    kit.Extract();
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("bad.ttf")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("good.ttf")));
    EXPECT_EQ(kit.SuccessCount, 1);

    quint32 found = 0, expected = 0;
    kit.OnCRC32Error = [&](const QString &, quint32 f, quint32 e, bool &doExtract) {
        found = f;
        expected = e;
        doExtract = true;
    };
    kit.FSpecArgs = QStringList{QStringLiteral("bad.ttf")};
    kit.Extract();
    EXPECT_EQ(expected, ZipBuilder::crcOf("the bytes"));
    EXPECT_NE(found, expected);
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("bad.ttf")));

    // An existing file: the library's proposal stands without a handler (not replaced); a
    // handler that says overwrite replaces it.
    write(out + QStringLiteral("good.ttf"), "local");
    kit.FSpecArgs = QStringList{QStringLiteral("good.ttf")};
    kit.Extract();
    EXPECT_EQ(contentOf(out + QStringLiteral("good.ttf")), QByteArray("local"));
    kit.OnExtractOverwrite = [](const QString &, bool, bool &doOverwrite, int) { doOverwrite = true; };
    kit.FSpecArgs = QStringList{QStringLiteral("good.ttf")};
    kit.Extract();
    EXPECT_EQ(contentOf(out + QStringLiteral("good.ttf")), QByteArray("fine"));

    // Cancel from the callback ends the run.
    kit.OnAfterCallBack = [](bool &stop) { stop = true; };
    QFile::remove(out + QStringLiteral("good.ttf"));
    kit.FSpecArgs = QStringList{QStringLiteral("good.ttf")};
    kit.Extract();
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("good.ttf")));
    EXPECT_FALSE(kit.Cancel);
}

TEST(ZipExtract, NothingIsWrittenOutsideTheTargetFolder)
{
    // The archive lies beside the extraction folder, so that a name with one ".." would land
    // beside the archive and one with two in the folder above: both are checked, exactly.
    const QString above = folderFor("zip-slip");
    const QString folder = folderFor("zip-slip/archive");
    ZipBuilder evil;
    evil.add("../escaped.ttf", "out").add("../../escaped-twice.ttf", "out2").add("/tmp/absolute-glyvanta.ttf", "abs");
    evil.add("..\\dos-escaped.ttf", "dos");
    evil.entries.back().host = 0;
    evil.add("C:\\drive.ttf", "drive");
    evil.entries.back().host = 0;
    evil.add("ok/inner.ttf", "in").add("dos\\inner.ttf", "dos in");
    evil.entries.back().host = 0;
    evil.add("link.ttf", "/etc/passwd");
    evil.entries.back().externalAttributes = 0120777u << 16;
    evil.write(folder + QStringLiteral("evil.zip"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    const QString out = folderFor("zip-slip/archive/out");
    kit.ExtrBaseDir = out;
    kit.ExtrOptions = TZipKit::ExtrDirNames;
    QStringList messages;
    kit.OnMessage = [&](int, const QString &text) { messages << text; };
    kit.SetFileName(folder + QStringLiteral("evil.zip"));
    kit.FSpecArgs = QStringList{QStringLiteral("*")};
    kit.Extract();
    EXPECT_EQ(QDir(above).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{QStringLiteral("archive")});
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("evil.zip"), QStringLiteral("out")}));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/absolute-glyvanta.ttf")));
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("dos"), QStringLiteral("ok")}));
    EXPECT_EQ(contentOf(out + QStringLiteral("ok/inner.ttf")), QByteArray("in"));
    EXPECT_EQ(contentOf(out + QStringLiteral("dos/inner.ttf")), QByteArray("dos in"));
    EXPECT_EQ(kit.SuccessCount, 2);
    // Links are found while the entries are chosen, names when each is written.
    EXPECT_EQ(messages, (QStringList{QStringLiteral("link entry, skipped: link.ttf"), QStringLiteral("unsafe name, skipped: ..\\escaped.ttf"),
                                     QStringLiteral("unsafe name, skipped: ..\\..\\escaped-twice.ttf"),
                                     QStringLiteral("unsafe name, skipped: \\tmp\\absolute-glyvanta.ttf"),
                                     QStringLiteral("unsafe name, skipped: ..\\dos-escaped.ttf"), QStringLiteral("unsafe name, skipped: C:\\drive.ttf")}));
}

TEST(ZipExtract, MemoryStreamsAndLibraryVersions)
{
    const QString folder = folderFor("zip-memory");
    ZipBuilder archive;
    archive.add("font.ttf", "font bytes");
    archive.write(folder + QStringLiteral("m.zip"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SetFileName(folder + QStringLiteral("m.zip"));
    QByteArray *stream = kit.ExtractFileToStream(QStringLiteral("FONT.TTF"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(*stream, QByteArray("font bytes"));
    EXPECT_EQ(kit.ExtractFileToStream(QStringLiteral("other.ttf")), nullptr);
    EXPECT_TRUE(kit.MemStream.isEmpty());

    const QByteArray plain = QByteArray("deflate me ") .repeated(20);
    QByteArray raw(1024, '\0');
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef *>(raw.data());
    z.avail_out = static_cast<uInt>(raw.size());
    deflate(&z, Z_FINISH);
    raw.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    stream = kit.ExtractStreamToStream(raw, static_cast<unsigned>(plain.size()));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(*stream, plain);

    // A library of version 152 is refused and freed again.
    kit.setLibDirectory(QStringLiteral(GLYVANTA_OLD_UNZLIB_DIR "/"));
    EXPECT_EQ(kit.LibDirectory(), QStringLiteral(GLYVANTA_OLD_UNZLIB_DIR));
    prompter.willAnswer(MessageAnswer::Ok);
    EXPECT_EQ(kit.LoadUnzLib(), 0);
    EXPECT_EQ(prompter.messages().back().text, QStringLiteral("ZipKit [ 10651 ], libunzlib.so"));
    EXPECT_EQ(kit.UnzVersion(), 0);
    kit.setLibDirectory(QString());
    EXPECT_GE(kit.LoadUnzLib(), 173);
    kit.UnloadUnzLib();
    EXPECT_EQ(kit.UnzVersion(), 0);
    kit.setPasswordReqCount(20);
    EXPECT_EQ(kit.PasswordReqCount, 15u);
}
