#include <QCoreApplication>

#include <gtest/gtest.h>

#include "tests/integration/desktop.h"

// The bus connection and child processes want an application object; no
// event loop runs, as in the panel while it waits for the CAD.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    orvane::integration::stopStartedWindowManager();
    return result;
}
