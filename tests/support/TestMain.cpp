// SPDX-License-Identifier: MIT
// The main of the widget tests.
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

#include <gtest/gtest.h>

// Linked only into the tests of the floors that have the font stores; the others draw no font.
__attribute__((weak)) bool confineToolkitFonts(const QStringList &names);

namespace {

// As the program's own application does without a prompter: an error that escapes an event
// handler is dropped and the loop goes on, so a test sees what the handler left behind.
class TestApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &) {
            return false;
        }
    }
};

}

int main(int argc, char **argv)
{
    TestEnvironment::setUp();
    testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        TestApplication app(argc, argv);
        app.setApplicationName(QStringLiteral("Glyvanta"));
        app.setApplicationDisplayName(QStringLiteral("Glyvanta"));
        // As the program's application does.
        if (confineToolkitFonts)
            confineToolkitFonts({app.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
        result = RUN_ALL_TESTS();
    }
    QDir(TestEnvironment::instance().root()).removeRecursively();
    return result;
}
