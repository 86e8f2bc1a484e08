#include <gtest/gtest.h>

#include "Orvel/platform/AtspiWindowOrder.h"

namespace orvel {
namespace {

using AtspiWindowOrder::Window;

TEST(AtspiWindowOrderTests, WindowsComeFrontToBack) {
    struct Case {
        std::string name;
        std::vector<Window> registered;
        std::vector<std::size_t> expected;
    };
    const Window active{.active = true, .showing = true};
    const Window showing{.active = false, .showing = true};
    const Window hidden{};
    const std::vector<Case> cases{
        {"none", {}, {}},
        {"one", {showing}, {0}},
        {"no signal: the window shown last first", {showing, showing, showing}, {2, 1, 0}},
        {"the active window first wherever it was registered", {showing, active, showing}, {1, 2, 0}},
        {"the main window active", {active, showing}, {0, 1}},
        {"hidden windows last", {hidden, showing, hidden, showing}, {3, 1, 2, 0}},
        {"an active window that no longer shows still leads", {showing, {.active = true}}, {1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AtspiWindowOrder::frontToBack(c.registered), c.expected);
    }
}

} // namespace
} // namespace orvel
