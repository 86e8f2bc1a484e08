// The desktop backends' tests: QtDBus delivers signals and calls through a QCoreApplication's event loop.
// Started with the accessible-window argument, the binary is instead the window that the accessibility
// read test looks at.
#include <QCoreApplication>

#include <cstring>

#include <gtest/gtest.h>

#include "tests/Orvel/platform/AccessibleWindow.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], orvel::testing::accessibleWindowArgument) == 0)
        return orvel::testing::runAccessibleWindow(argc, argv);
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
