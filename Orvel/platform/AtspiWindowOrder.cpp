#include "Orvel/platform/AtspiWindowOrder.h"

#include <algorithm>
#include <numeric>

namespace orvel::AtspiWindowOrder {
namespace {

int rank(const Window& window) {
    if (window.active)
        return 0;
    return window.showing ? 1 : 2;
}

} // namespace

std::vector<std::size_t> frontToBack(const std::vector<Window>& windows) {
    std::vector<std::size_t> out(windows.size());
    std::iota(out.rbegin(), out.rend(), std::size_t{0});
    std::stable_sort(out.begin(), out.end(),
                     [&](std::size_t a, std::size_t b) { return rank(windows[a]) < rank(windows[b]); });
    return out;
}

} // namespace orvel::AtspiWindowOrder
