// A toolkit that marks nothing inside its windows as showing (GTK 4) is read by what is visible with an
// area inside its window.

#include <QTest>

#include <gtest/gtest.h>

#include "engine/capture/AXReader.h"
#include "tests/Orvel/platform/RealDesktop.h"

namespace orvel {
namespace {

bool shows(const AXNode& node, const std::string& text) {
    if (node.title == text || node.value == text || node.label == text || node.help == text)
        return true;
    for (const AXNode& child : node.children)
        if (shows(child, text))
            return true;
    return false;
}

// A node of `role` whose title is `title`.
bool hasTitled(const AXNode& node, const std::string& role, const std::string& title) {
    if (node.role == role && node.title == title)
        return true;
    for (const AXNode& child : node.children)
        if (hasTitled(child, role, title))
            return true;
    return false;
}

TEST(AtspiGtk4Tests, AWindowOfAToolkitWithoutShowingStatesReadsWhatItShows) {
    testing::AccessibleDesktop& desktop = testing::realDesktop();
    if (!desktop.unavailable().empty())
        GTEST_SKIP() << desktop.unavailable() << ": the read of real windows is not tested";
    const std::optional<pid_t> pid = desktop.showGtk4();
    if (!pid)
        GTEST_SKIP() << "GTK 4 is not installed: its windows are not tested " << desktop.unavailable();
    AXReader::WindowList windows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            windows = AXReader::windows(desktop.platform(), *pid, 5000);
            return !windows.empty() && shows(windows.front().second, "Hello label");
        },
        30000))
        << "the GTK 4 window was read without its label: "
        << (windows.empty() ? std::string("no window") : windows.front().second.toJson().dump());
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows.front().first, "Orvel GTK window");
    struct Case {
        std::string text;
        bool read;
    };
    const std::vector<Case> cases{
        {"Hello label", true},
        {"Press me", true},
        {"Presses the button", true},
        {"Visible page", true},
        {"Hidden page", true},
        {"Visible page label", true},
        // The stack's second page, not shown.
        {"Hidden page label", false},
        {"Invisible label", false},
        // The toolkit's names of widgets that nothing names.
        {"GtkMenuButton", false},
        {"GtkImage", false},
        {"GtkStackSwitcher", false},
        // Tabs the toolkit names "Tab" show their own labels.
        {"General", true},
        {"Advanced", true},
        {"Tab", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shows(windows.front().second, c.text), c.read) << c.text;
    EXPECT_TRUE(hasTitled(windows.front().second, "AXButton", "GtkButton"))
        << "a button's real label was taken for a type name";
}

} // namespace
} // namespace orvel
