#pragma once
// A small window with a menu bar, a label and a button, shown by the test binary in a child process so
// that the accessibility backend has a real tree to read.

namespace orvel::testing {

inline constexpr const char* accessibleWindowArgument = "--accessible-window";
inline constexpr const char* accessibleWindowTitle = "Orvel test window";

// Runs the window until the process is ended; prints "ready" once it is shown.
int runAccessibleWindow(int argc, char** argv);

} // namespace orvel::testing
