// SPDX-License-Identifier: MIT
#include "AppError.h"
#include "IniFile.h"
#include "QtPrinters.h"
#include "ScriptedPrompter.h"
#include "TFormTip.h"
#include "TestEnvironment.h"
#include "TipOfTheDay.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Shows the tip dialog and records the tips seen, pressing Next Tip the given number of times.
ScriptedPrompter::DialogScript collectTips(QStringList &seen, int nextPresses)
{
    return [&seen, nextPresses](QDialog &dialog) {
        auto &tip = static_cast<TFormTip &>(dialog);
        seen << tip.TipText->text();
        for (int i = 0; i < nextPresses; ++i) {
            tip.NextTip->click();
            seen << tip.TipText->text();
        }
        return ModalResult::Cancel;
    };
}

// The tips of a favourites file, as "Tip of the Day..." shows them.
QStringList tipsShown(const QByteArray &file, int nextPresses, int *count = nullptr)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("tips")) + QStringLiteral("favorites.ini");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    ScriptedPrompter prompter;
    IniFile ini(path);
    TFormTip dialog;
    TipOfTheDay tips(prompter, ini, dialog);
    QStringList seen;
    prompter.willRunDialog(collectTips(seen, nextPresses));
    tips.TipOfTheDayClick();
    EXPECT_FALSE(tips.StartupTipPending);
    if (count)
        *count = tips.TipCount;
    return seen;
}

}

TEST(TipOfTheDay, IndexRules)
{
    for (unsigned r : {0u, 1u, 7u, 123456789u}) {
        EXPECT_EQ(firstTipIndex(1, r), 0);
        EXPECT_EQ(firstTipIndex(2, r), 0);
        EXPECT_EQ(firstTipIndex(0, r), 0);
        EXPECT_LT(firstTipIndex(5, r), 4);
        EXPECT_GE(firstTipIndex(5, r), 0);
    }
    EXPECT_EQ(nextTipIndex(0, 1), 0);
    EXPECT_EQ(nextTipIndex(0, 2), 1);
    EXPECT_EQ(nextTipIndex(1, 2), 0);
    EXPECT_EQ(nextTipIndex(0, 0), 1);
    EXPECT_EQ(nextTipIndex(3, 0), 4);
}

TEST(TipOfTheDay, CountsZeroOneTwoAndMissingTips)
{
    int count = 0;
    EXPECT_EQ(tipsShown("[Tips]\r\nCount=2\r\n0=zero\r\n1=one\r\n", 3, &count),
              (QStringList{QStringLiteral("zero"), QStringLiteral("one"), QStringLiteral("zero"), QStringLiteral("one")}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(tipsShown("[Tips]\r\nCount=1\r\n0=only\r\n", 1), (QStringList{QStringLiteral("only"), QStringLiteral("only")}));
    EXPECT_EQ(tipsShown("[Tips]\r\nCount=0\r\n0=a\r\n2=c\r\n", 3),
              (QStringList{QStringLiteral("a"), QStringLiteral("Thank you for choosing Glyvanta"), QStringLiteral("c"),
                           QStringLiteral("Thank you for choosing Glyvanta")}));
    EXPECT_EQ(tipsShown("[Links]\r\n", 0), QStringList{QStringLiteral("Thank you for choosing Glyvanta")});
}

TEST(TipOfTheDay, ACountThatIsNoNumberFailsWithTheConversionMessage)
{
    const QString path = TestEnvironment::instance().makeFolder(QStringLiteral("tips-bad")) + QStringLiteral("favorites.ini");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[Tips]\r\nCount=abc\r\n");
    out.close();
    ScriptedPrompter prompter;
    IniFile ini(path);
    TFormTip dialog;
    TipOfTheDay tips(prompter, ini, dialog);
    try {
        tips.TipOfTheDayClick();
        ADD_FAILURE() << "no error";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}
