// SPDX-License-Identifier: MIT
// The main of the tests that drive the main window: the program's own application object.
#include "GlyvantaApplication.h"
#include "TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    TestEnvironment::setUp();
    testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        GlyvantaApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    QDir(TestEnvironment::instance().root()).removeRecursively();
    return result;
}
