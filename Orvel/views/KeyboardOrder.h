#pragma once
// Tab and Shift+Tab walk a window part by part in reading order, the main window's sidebar, toolbar,
// table, inspector and footer, whenever each part was built or refilled; the arrow keys move within a
// list or table. Within a part, its controls follow one another in the order the window's focus chain
// gives them. An item view is one stop: its cell editors are not stops of their own.

#include <QWidget>

#include <vector>

namespace orvel {

// A view made of parts that Tab visits one after another.
class KeyboardParts {
  public:
    virtual ~KeyboardParts() = default;
    // The parts in reading order; a hidden or absent one is passed over.
    virtual std::vector<QWidget*> keyboardParts() const = 0;
};

// The widgets that Tab stops at within `root`, in order: a root made of parts gives its parts' stops
// one part after another; any other root gives its own enabled, shown widgets that take the focus by
// Tab, in the window's focus chain order.
std::vector<QWidget*> tabStops(QWidget* root);

// Moves the focus from the widget that has it to the next stop of `root`, or the previous one when
// `forward` is false, around the ends, and scrolls the stop into view; a focus outside every stop goes
// to the first (or last) stop. False when `root` has no stop.
bool moveFocusWithin(QWidget* root, bool forward);

} // namespace orvel
