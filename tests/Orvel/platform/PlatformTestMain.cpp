// The desktop backends' tests: QtDBus delivers signals and calls through a QCoreApplication's event loop.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include "tests/Orvel/platform/RealDesktop.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    orvel::testing::endRealDesktop();
    return result;
}
