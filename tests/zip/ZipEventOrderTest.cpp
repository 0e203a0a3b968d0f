// SPDX-License-Identifier: MIT
// The order in which the component tells what it does: its events, its message texts and its
// boxes, traced together for a listing and an extraction.
#include "ScriptedPrompter.h"
#include "TZipKit.h"
#include "TestEnvironment.h"
#include "ZipBuilder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Records every event of the component, and every box it shows, in one list.
class Trace {
public:
    Trace(TZipKit &kit, ScriptedPrompter &prompter)
        : m_prompter(prompter)
    {
        kit.OnDirUpdate = [this] { add(QStringLiteral("DirUpdate")); };
        kit.OnNewName = [this](int seqNo, const ZipDirEntry &e) { add(QStringLiteral("NewName %1 %2").arg(seqNo).arg(e.FileName)); };
        kit.OnMessage = [this](int id, const QString &text) { add(QStringLiteral("Message %1 %2").arg(id).arg(text.section(QLatin1Char('\n'), -1))); };
        kit.OnZipStr = [this](int id, QString &) { add(QStringLiteral("ZipStr %1").arg(id)); };
        kit.OnProgress = [this](int type, const QString &name, qint64 size) { add(QStringLiteral("Progress %1 %2 %3").arg(type).arg(name).arg(size)); };
        kit.OnItemProgress = [this](const QString &item, qint64 size, int perCent) {
            add(QStringLiteral("ItemProgress %1 %2 %3").arg(item).arg(size).arg(perCent));
        };
        kit.OnTotalProgress = [this](qint64 size, int perCent) { add(QStringLiteral("TotalProgress %1 %2").arg(size).arg(perCent)); };
    }
    QStringList take()
    {
        add(QString());
        QStringList out;
        out.swap(m_lines);
        out.removeLast();
        return out;
    }

private:
    // Boxes shown since the last line come first: they were shown before this event.
    void add(const QString &line)
    {
        for (; m_boxes < m_prompter.messages().size(); ++m_boxes)
            m_lines << QStringLiteral("Box ") + m_prompter.messages()[m_boxes].text.section(QLatin1Char('\n'), -1);
        m_lines << line;
    }
    ScriptedPrompter &m_prompter;
    size_t m_boxes = 0;
    QStringList m_lines;
};

}

TEST(ZipEventOrder, ListingTellsEntriesWarningsAndFaultsInTheirOrder)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("zip-order"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    Trace trace(kit, prompter);

    ZipBuilder good;
    good.add("a.ttf").add("sub/").add("sub/b.fon");
    good.write(folder + QStringLiteral("good.zip"));
    kit.SetFileName(folder + QStringLiteral("good.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("NewName 1 a.ttf"), QStringLiteral("NewName 3 sub\\b.fon"), QStringLiteral("DirUpdate")}));

    // A stub the offsets ignore, then a damaged third header.
    ZipBuilder damaged = good;
    damaged.stub = QByteArray(100, 's');
    damaged.entries[2].signature = 0x01010101;
    damaged.write(folder + QStringLiteral("damaged.zip"));
    prompter.willAnswer(MessageAnswer::Ok);
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("damaged.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("ZipStr 10203"), QStringLiteral("Box Missing String ID is: 10203 "),
                                         QStringLiteral("Message 10203 Missing String ID is: 10203 "), QStringLiteral("NewName 1 a.ttf"),
                                         QStringLiteral("ZipStr 11015"), QStringLiteral("Box ZipKit [ 11015 ]"),
                                         QStringLiteral("Message 11015 ZipKit [ 11015 ]"), QStringLiteral("DirUpdate")}));
    EXPECT_EQ(kit.ZipFileName(), QString());

    // Trailing bytes: the warning comes while the end record is found, before any entry.
    ZipBuilder trailing = good;
    trailing.trailing = "xyz";
    trailing.write(folder + QStringLiteral("trailing.zip"));
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("trailing.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("ZipStr 10204"), QStringLiteral("Box Missing String ID is: 10204 "),
                                         QStringLiteral("Message 10204 Missing String ID is: 10204 "), QStringLiteral("NewName 1 a.ttf"),
                                         QStringLiteral("NewName 3 sub\\b.fon"), QStringLiteral("DirUpdate")}));

    // Not an archive: told even though the search is quiet, and no update.
    QFile text(folder + QStringLiteral("text.zip"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no archive here");
    text.close();
    prompter.willAnswer(MessageAnswer::Ok);
    kit.SetFileName(folder + QStringLiteral("text.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("ZipStr 11036"), QStringLiteral("Box ZipKit [ 11036 ]"), QStringLiteral("Message 11036 ZipKit [ 11036 ]")}));

    // Absent: nothing to read, only the update. Unattended: no box, the rest as before.
    kit.SetFileName(folder + QStringLiteral("absent.zip"));
    EXPECT_EQ(trace.take(), QStringList{QStringLiteral("DirUpdate")});
    kit.Unattended = true;
    kit.SetFileName(folder + QStringLiteral("damaged.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("ZipStr 10203"), QStringLiteral("Message 10203 Missing String ID is: 10203 "),
                                         QStringLiteral("NewName 1 a.ttf"), QStringLiteral("ZipStr 11015"), QStringLiteral("Message 11015 ZipKit [ 11015 ]"),
                                         QStringLiteral("DirUpdate")}));
    // A fault at the first header: nothing listed, and no bytes said to lie ahead of the archive.
    ZipBuilder firstBad = good;
    firstBad.entries[0].signature = 0x01010101;
    firstBad.write(folder + QStringLiteral("firstbad.zip"));
    kit.SetFileName(folder + QStringLiteral("firstbad.zip"));
    EXPECT_EQ(trace.take(), (QStringList{QStringLiteral("ZipStr 11015"), QStringLiteral("Message 11015 ZipKit [ 11015 ]"), QStringLiteral("DirUpdate")}));
    EXPECT_EQ(kit.LeadingBytes, 0);
    EXPECT_EQ(kit.List(), 0);   // the name was dropped with the fault: nothing to read
    EXPECT_EQ(trace.take(), QStringList{QStringLiteral("DirUpdate")});
}

TEST(ZipEventOrder, ExtractionTellsProgressInTheLibrarysOrder)
{
    const QString folder = TestEnvironment::instance().makeFolder(QStringLiteral("zip-order-extract"));
    ZipBuilder archive;
    archive.add("a.ttf", "first").add("b.ttf", "second entry");
    archive.write(folder + QStringLiteral("two.zip"));
    ScriptedPrompter prompter;
    TZipKit kit(prompter);
    kit.SetFileName(folder + QStringLiteral("two.zip"));
    Trace trace(kit, prompter);
    kit.ExtrBaseDir = TestEnvironment::instance().makeFolder(QStringLiteral("zip-order-out"));
    kit.FSpecArgs = QStringList{QStringLiteral("*.ttf")};
    EXPECT_EQ(kit.Extract(), 0);
    EXPECT_EQ(kit.SuccessCount, 2);
    const QStringList lines = trace.take();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Progress 3  2"), QStringLiteral("Progress 4  17"), QStringLiteral("Progress 0 a.ttf 5"),
                                  QStringLiteral("ItemProgress a.ttf 5 0"), QStringLiteral("Progress 1  5"), QStringLiteral("ItemProgress a.ttf 5 100"),
                                  QStringLiteral("TotalProgress 17 29"), QStringLiteral("Progress 0 b.ttf 12"), QStringLiteral("ItemProgress b.ttf 12 0"),
                                  QStringLiteral("Progress 1  12"), QStringLiteral("ItemProgress b.ttf 12 100"), QStringLiteral("TotalProgress 17 100"),
                                  QStringLiteral("Progress 2  0"), QStringLiteral("ItemProgress  0 -1"), QStringLiteral("TotalProgress 17 -1")}))
        << lines.join(QLatin1Char('|')).toStdString();

    // No archive name: the message, nothing else.
    TZipKit none(prompter);
    Trace noneTrace(none, prompter);
    prompter.willAnswer(MessageAnswer::Ok);
    none.Extract();
    EXPECT_EQ(noneTrace.take(), (QStringList{QStringLiteral("ZipStr 10102"), QStringLiteral("Box Missing String ID is: 10102 "),
                                             QStringLiteral("Message 10102 Missing String ID is: 10102 ")}));
}
