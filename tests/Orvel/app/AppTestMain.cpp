// The application's tests run without a display unless one is asked for, in the views' fixed look.
#include "Orvel/shots/FixedLook.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    orvel::useFixedLook(application);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
