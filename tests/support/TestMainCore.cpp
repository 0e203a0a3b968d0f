// SPDX-License-Identifier: MIT
// The main of the tests of code below the widgets: no GUI application at all.
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    TestEnvironment::setUp();
    testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        QCoreApplication app(argc, argv);
        app.setApplicationName(QStringLiteral("Glyvanta"));
        result = RUN_ALL_TESTS();
    }
    QDir(TestEnvironment::instance().root()).removeRecursively();
    return result;
}
