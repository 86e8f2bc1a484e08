// The window program of the accessibility tests and benchmarks.
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"

int main(int argc, char** argv) {
    return orvel::testing::runAccessibleWindow(argc, argv);
}
