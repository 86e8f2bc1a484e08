#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/capture/AXReader.h"
#include "tests/engine/capture/FakeAccessibility.h"

namespace orvel {
namespace {

constexpr pid_t pid = 4242;

int countNodes(const AXNode& node) {
    int count = 1;
    for (const AXNode& child : node.children)
        count += countNodes(child);
    return count;
}

class AXReaderTests : public ::testing::Test {
  protected:
    FakeAXElement& app() { return m_platform.applications[pid]; }

    FakeAXElement& window(std::string role, std::string title, int childCount) {
        FakeAXElement& window = m_platform.element(std::move(role));
        window.attributes["AXTitle"] = std::move(title);
        std::vector<FakeAXElement*> children;
        for (int i = 0; i < childCount; ++i)
            children.push_back(&m_platform.element("AXButton"));
        FakeAXPlatform::setChildren(window, children);
        return window;
    }

    FakeAXPlatform m_platform;
};

TEST_F(AXReaderTests, WindowsKeepsOnlyWindowsAndPopoversInOrder) {
    FakeAXElement& main = window("AXWindow", "Main", 1);
    FakeAXElement& sheet = window("AXSheet", "Sheet", 0);
    FakeAXElement& roleless = window("", "Nameless", 0);
    FakeAXElement& popover = window("AXPopover", "", 0);
    FakeAXPlatform::setChildren(app(), {&main, &sheet, &roleless, &popover}, "AXWindows");

    auto windows = AXReader::windows(m_platform, pid, 5000);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].first, "Main");
    EXPECT_EQ(windows[0].second.role, "AXWindow");
    EXPECT_EQ(windows[0].second.children.size(), 1u);
    EXPECT_EQ(windows[1].first, "");
    EXPECT_EQ(windows[1].second.role, "AXPopover");
    EXPECT_FALSE(windows[1].second.title.has_value());

    ASSERT_EQ(m_platform.created.size(), 1u);
    EXPECT_EQ(m_platform.created[0]->messagingTimeout, AXReader::windowMessagingTimeout);
}

TEST_F(AXReaderTests, WindowsOfAnAbsentOrWindowlessProcessAreEmpty) {
    EXPECT_TRUE(AXReader::windows(m_platform, pid, 5000).empty());
    app().attributes["AXWindows"] = std::string("not a list");
    EXPECT_TRUE(AXReader::windows(m_platform, pid, 5000).empty());
}

TEST_F(AXReaderTests, StringAttributesFollowTheValueRules) {
    FakeAXElement& element = m_platform.element("AXStaticText");
    element.attributes["AXTitle"] = std::string();
    element.attributes["AXDescription"] = 3.0;
    element.attributes["AXHelp"] = std::string("Saves the file");
    element.attributes["AXSubrole"] = AXOtherValue{};
    element.throwing.insert("AXPlaceholderValue");

    int budget = 10;
    AXNode node = AXReader::node(element, 0, budget);
    EXPECT_EQ(node.role, "AXStaticText");
    EXPECT_FALSE(node.title.has_value());
    EXPECT_FALSE(node.label.has_value());
    EXPECT_FALSE(node.subrole.has_value());
    EXPECT_FALSE(node.placeholder.has_value());
    EXPECT_EQ(node.help, "Saves the file");
    EXPECT_EQ(budget, 9);

    FakeAXElement& roleless = m_platform.element();
    EXPECT_EQ(AXReader::node(roleless, 0, budget).role, "");
}

TEST_F(AXReaderTests, ValueKeepsEmptyStringsAndSpellsNumbers) {
    auto valueOf = [&](AXValue value) {
        FakeAXElement& element = m_platform.element("AXCheckBox");
        element.attributes["AXValue"] = std::move(value);
        int budget = 1;
        return AXReader::node(element, 0, budget).value;
    };
    EXPECT_EQ(valueOf(1.0), "1");
    EXPECT_EQ(valueOf(0.5), "0.5");
    EXPECT_EQ(valueOf(std::string()), "");
    EXPECT_EQ(valueOf(std::string("Draft")), "Draft");
    EXPECT_EQ(valueOf(AXPoint{1, 2}), std::nullopt);
}

TEST_F(AXReaderTests, FrameNeedsAFinitePointAndSize) {
    FakeAXElement& element = m_platform.element();
    element.attributes["AXPosition"] = AXPoint{10, 20};
    EXPECT_FALSE(AXReader::frame(element).has_value());

    element.attributes["AXSize"] = AXSize{300, 40};
    EXPECT_EQ(AXReader::frame(element), (std::vector<double>{10, 20, 300, 40}));

    element.attributes["AXSize"] = AXSize{std::numeric_limits<double>::infinity(), 40};
    EXPECT_FALSE(AXReader::frame(element).has_value());

    element.attributes["AXSize"] = AXPoint{300, 40};
    EXPECT_FALSE(AXReader::frame(element).has_value());
}

TEST_F(AXReaderTests, ChildrenIgnoresNonArraysAndNullEntries) {
    FakeAXElement& parent = m_platform.element();
    FakeAXElement& child = m_platform.element("AXButton");
    parent.attributes["AXChildren"] = std::string("AXButton");
    EXPECT_TRUE(AXReader::children(parent, "AXChildren").empty());

    parent.attributes["AXChildren"] = AXElementList{nullptr, FakeAXPlatform::ref(child)};
    ASSERT_EQ(AXReader::children(parent, "AXChildren").size(), 1u);
    EXPECT_TRUE(AXReader::children(parent, "AXMissing").empty());
}

TEST_F(AXReaderTests, OneBudgetBoundsAllWindowsOfARead) {
    FakeAXElement& first = window("AXWindow", "First", 5);
    FakeAXElement& second = window("AXWindow", "Second", 5);
    FakeAXPlatform::setChildren(app(), {&first, &second}, "AXWindows");

    auto limited = AXReader::windows(m_platform, pid, 1);
    ASSERT_EQ(limited.size(), 2u);
    EXPECT_TRUE(limited[0].second.children.empty());
    EXPECT_TRUE(limited[1].second.children.empty());
    EXPECT_EQ(limited[1].first, "Second");

    auto absurd = AXReader::windows(m_platform, pid, std::numeric_limits<int>::min());
    ASSERT_EQ(absurd.size(), 2u);
    EXPECT_TRUE(absurd[1].second.children.empty());

    auto shared = AXReader::windows(m_platform, pid, 4);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_EQ(shared[0].second.children.size(), 3u);
    EXPECT_TRUE(shared[1].second.children.empty());
}

TEST_F(AXReaderTests, NodesAtTheDepthLimitAreReadWithoutChildren) {
    FakeAXElement& root = m_platform.element("AXGroup");
    FakeAXElement* parent = &root;
    for (int depth = 1; depth <= AXReader::maxDepth + 2; ++depth) {
        FakeAXElement& child = m_platform.element("AXGroup");
        FakeAXPlatform::setChildren(*parent, {&child});
        parent = &child;
    }
    int budget = 5000;
    AXNode tree = AXReader::node(root, 0, budget);
    EXPECT_EQ(countNodes(tree), AXReader::maxDepth + 1);
}

TEST_F(AXReaderTests, CyclicTreesStopAtTheBudget) {
    FakeAXElement& loop = m_platform.element("AXGroup");
    FakeAXPlatform::setChildren(loop, {&loop, &loop});
    int budget = 3000;
    AXNode tree = AXReader::node(loop, 0, budget);
    EXPECT_EQ(countNodes(tree), 3000);
    EXPECT_EQ(budget, 0);
}

// A fake element that asks for the read to stop when its title is read.
class StoppingElement : public FakeAXElement {
  public:
    explicit StoppingElement(std::stop_source& stop) : m_stop(stop) {}
    std::optional<AXValue> attribute(const std::string& name) const override {
        if (name == "AXTitle")
            m_stop.request_stop();
        return FakeAXElement::attribute(name);
    }

  private:
    std::stop_source& m_stop;
};

TEST_F(AXReaderTests, AStopEndsTheReadWithWhatWasRead) {
    struct Case {
        std::string name;
        // Where the stop is asked for: the element at this path of child indexes, from the first window.
        std::vector<int> stopAt;
        bool menuBar;
        // The nodes read before the stop, in tree order, and the one that asked for it; no later sibling
        // and no later window.
        int nodes;
    };
    const std::vector<Case> cases{
        {"at the first window", {}, false, 1},
        {"at a child of the first window", {0}, false, 2},
        {"deep in the first window", {1, 0}, false, 6},
        {"in the menu bar", {1}, true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAXPlatform platform;
        std::stop_source stop;
        // Two windows of two groups of two buttons each.
        std::vector<FakeAXElement*> windows;
        for (int w = 0; w < 2; ++w) {
            std::vector<int> path;
            auto build = [&](auto& self, int depth) -> FakeAXElement& {
                FakeAXElement& element = w == 0 && path == c.stopAt
                                             ? *platform.adopt(std::make_unique<StoppingElement>(stop))
                                             : platform.element();
                element.attributes["AXRole"] = std::string(depth == 0 ? "AXWindow" : "AXGroup");
                if (depth < 2) {
                    std::vector<FakeAXElement*> children;
                    for (int i = 0; i < 2; ++i) {
                        path.push_back(i);
                        children.push_back(&self(self, depth + 1));
                        path.pop_back();
                    }
                    FakeAXPlatform::setChildren(element, children);
                }
                return element;
            };
            windows.push_back(&build(build, 0));
        }
        int read = 0;
        if (c.menuBar) {
            platform.applications[pid].attributes["AXMenuBar"] = FakeAXPlatform::ref(*windows[0]);
            read = countNodes(*AXReader::menuBar(platform, pid, 3000, stop.get_token()));
        } else {
            FakeAXPlatform::setChildren(platform.applications[pid], windows, "AXWindows");
            for (const auto& [title, tree] : AXReader::windows(platform, pid, 3000, stop.get_token()))
                read += countNodes(tree);
        }
        EXPECT_EQ(read, c.nodes);
    }
}

TEST_F(AXReaderTests, MenuBarIsReadFromAFreshElementWithItsOwnBudget) {
    FakeAXElement& bar = m_platform.element("AXMenuBar");
    FakeAXElement& file = m_platform.element("AXMenuBarItem");
    FakeAXElement& edit = m_platform.element("AXMenuBarItem");
    file.attributes["AXTitle"] = std::string("File");
    FakeAXPlatform::setChildren(bar, {&file, &edit});
    app().attributes["AXMenuBar"] = FakeAXPlatform::ref(bar);

    auto menu = AXReader::menuBar(m_platform, pid, 2);
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->children.size(), 1u);
    EXPECT_EQ(menu->children[0].title, "File");
    ASSERT_EQ(m_platform.created.size(), 1u);
    EXPECT_FALSE(m_platform.created[0]->messagingTimeout.has_value());

    app().attributes["AXMenuBar"] = std::string("menu");
    EXPECT_FALSE(AXReader::menuBar(m_platform, pid, 3000).has_value());
    EXPECT_FALSE(AXReader::menuBar(m_platform, pid + 1, 3000).has_value());
}

} // namespace
} // namespace orvel
