// The view tests run without a display unless one is asked for: the offscreen platform, one fixed
// font and style, no animations.
#include "Orvel/shots/FixedLook.h"
#include "Orvel/state/Background.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    orvel::useFixedLook(application);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Workers of the workspaces the tests ended are stopping; none may outlive the program's statics.
    if (!orvel::waitForBackgroundWork(std::chrono::seconds(30)))
        return 1;
    return result;
}
