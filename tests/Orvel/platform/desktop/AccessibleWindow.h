#pragma once
// The windows that the accessibility tests and benchmarks read: shown by the window program in a child
// process, so that the backend reads another process's tree as it would a target app's.

namespace orvel::testing {

inline constexpr const char* accessibleWindowTitle = "Orvel test window";
inline constexpr const char* secondWindowTitle = "Orvel second window";
inline constexpr const char* hiddenDialogTitle = "Orvel hidden dialog";
// Shows a window of about this many elements instead of the test windows.
inline constexpr const char* elementCountArgument = "--elements";

// The test windows: a main window with a menu bar (its menus closed), a label, a button with a tooltip, a
// single-line field with a placeholder, a multi-line field, nested frames and a tab widget whose second
// page is hidden; a dialog shown once and hidden again; and a second window shown over the first. Or,
// with elementCountArgument and a number, one window of that many labels. Prints "ready" once all are
// shown and runs until the process is ended.
int runAccessibleWindow(int argc, char** argv);

} // namespace orvel::testing
