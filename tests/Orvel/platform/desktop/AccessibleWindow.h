#pragma once
// The windows that the accessibility tests and benchmarks read: shown by the window program in a child
// process, so that the backend reads another process's tree as it would a target app's.

#include <string>

namespace orvel::testing {

inline constexpr const char* accessibleWindowTitle = "Orvel test window";
inline constexpr const char* secondWindowTitle = "Orvel second window";
inline constexpr const char* hiddenDialogTitle = "Orvel hidden dialog";
// Shows a window of about this many elements instead of the test windows.
inline constexpr const char* elementCountArgument = "--elements";
// Shows a window of this many tables of tableRows rows each, most rows scrolled out of view, instead of the
// test windows. The first table's columns are wider than the table, so that all but its first lie outside
// its view, over its neighbours; a menu bar with the menu tablesMenuTitle lies below the tables.
inline constexpr const char* tableCountArgument = "--tables";
inline constexpr const char* tablesMenuTitle = "Tables menu";
inline constexpr int tableRows = 600;
inline constexpr int tableColumns = 5;
// The text of a cell of the tables window.
inline std::string cellText(int table, int row, int column) {
    return "T" + std::to_string(table) + " R" + std::to_string(row) + " C" + std::to_string(column);
}
// The text of a column header of the tables window.
inline std::string headerText(int table, int column) {
    return "T" + std::to_string(table) + " H" + std::to_string(column);
}

// The test windows: a main window with a menu bar (its menus closed), a label, a button with a tooltip, a
// single-line field with a placeholder, a multi-line field, nested frames, a tab widget whose second
// page is hidden, a table of "Row 0" to "Row 29" under a "Name" header with room for a few rows, a
// panel far outside the window (which the toolkit calls showing), a label wholly above it and one partly
// outside it; a dialog shown once and hidden again; and a second window shown over the first. Or, with
// elementCountArgument or tableCountArgument and a number, one window of that many labels or tables.
// Prints "ready" once all are shown and runs until the process is ended.
int runAccessibleWindow(int argc, char** argv);

} // namespace orvel::testing
