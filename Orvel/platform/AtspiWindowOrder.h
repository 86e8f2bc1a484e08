#pragma once
// AT-SPI lists an application's windows in the order the app registered them; the reader gives them
// front to back, as a person sees them. Without a stacking order from the desktop, a window registered
// later was shown later and stands above the earlier ones.

#include <cstddef>
#include <vector>

namespace orvel::AtspiWindowOrder {

struct Window {
    bool active = false;
    bool showing = false;
};

// The positions of `windows` (in registration order) front to back: the active window first, then the
// showing windows, then the rest; within each group the most recently registered first.
std::vector<std::size_t> frontToBack(const std::vector<Window>& windows);

} // namespace orvel::AtspiWindowOrder
