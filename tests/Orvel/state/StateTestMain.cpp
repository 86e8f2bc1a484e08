// The state's tests run headless: a QCoreApplication, no display.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include "Orvel/state/Background.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Workers of the workspaces the tests ended are stopping; none may outlive the program's statics.
    if (!orvel::waitForBackgroundWork(std::chrono::seconds(30)))
        return 1;
    return result;
}
