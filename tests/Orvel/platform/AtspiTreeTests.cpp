#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "engine/capture/AXReader.h"
#include "engine/capture/ContextAnalyzer.h"
#include "tests/Orvel/platform/RealDesktop.h"
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"

namespace orvel {
namespace {

using Predicate = std::function<bool(const AXNode&)>;

const AXNode* find(const AXNode& node, const Predicate& matches) {
    if (matches(node))
        return &node;
    for (const AXNode& child : node.children)
        if (const AXNode* found = find(child, matches))
            return found;
    return nullptr;
}

int count(const AXNode& node, const Predicate& matches) {
    int out = matches(node) ? 1 : 0;
    for (const AXNode& child : node.children)
        out += count(child, matches);
    return out;
}

bool showsText(const AXNode& node, const std::string& text) {
    return node.title == text || node.label == text || node.value == text || node.help == text ||
           node.placeholder == text;
}

std::vector<std::string> titles(const AXReader::WindowList& windows) {
    std::vector<std::string> out;
    for (const auto& [title, tree] : windows)
        out.push_back(title);
    return out;
}

// One run of the test windows serves every case. Without the desktop's tools the cases say so and skip,
// since nothing here can stand in for a toolkit publishing its tree.
class AtspiTreeTests : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop = &testing::realDesktop();
        if (auto pid = desktop->show({}))
            windowPid = *pid;
    }

    void SetUp() override {
        if (!desktop->unavailable().empty())
            GTEST_SKIP() << desktop->unavailable() << ": the read of real windows is not tested";
        // The toolkit registers its windows on its own schedule after showing them.
        const bool registered = QTest::qWaitFor(
            [&] {
                windows = AXReader::windows(desktop->platform(), windowPid, 5000);
                return windows.size() == 2 && !windows[0].second.children.empty() &&
                       !windows[1].second.children.empty();
            },
            20000);
        ASSERT_TRUE(registered) << "the test windows did not appear on the accessibility bus; read: "
                                << ::testing::PrintToString(titles(windows));
    }

    const AXNode& mainWindow() const {
        for (const auto& [title, tree] : windows)
            if (title == testing::accessibleWindowTitle)
                return tree;
        throw std::runtime_error("no main window");
    }

    static inline testing::AccessibleDesktop* desktop = nullptr;
    static inline pid_t windowPid = 0;
    AXReader::WindowList windows;
};

TEST_F(AtspiTreeTests, ReadsTheTreeOfAWindowShownByAnotherProcess) {
    const AXNode& tree = mainWindow();
    EXPECT_EQ(tree.role, "AXWindow");
    EXPECT_TRUE(find(tree, [](const AXNode& n) { return n.role == "AXButton" && n.title == "Press me"; }));
    EXPECT_TRUE(
        find(tree, [](const AXNode& n) { return n.role == "AXStaticText" && n.value == "Hello label"; }));
    const AXNode* button = find(tree, [](const AXNode& n) { return n.title == "Press me"; });
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->frame.has_value());
    EXPECT_GT((*button->frame)[2], 0);

    const std::optional<AXNode> bar = AXReader::menuBar(desktop->platform(), windowPid, 3000);
    ASSERT_TRUE(bar.has_value()) << "the menu bar was not found";
    EXPECT_EQ(bar->role, "AXMenuBar");
    const AXNode* file =
        find(*bar, [](const AXNode& n) { return n.role == "AXMenuBarItem" && n.title == "File"; });
    ASSERT_TRUE(file);
    // The menus are closed, and the menu bar's read still takes them in.
    EXPECT_TRUE(find(*file, [](const AXNode& n) { return n.role == "AXMenuItem" && n.title == "Open"; }));

    // The menus have the shape the menu walk expects: a submenu's items sit under its title.
    const ContextAnalyzer::MarkerTable markers;
    const ContextAnalyzer::EnglishTexts english;
    const ContextAnalyzer::TextIndex index{{"Close", "close"}};
    const auto menus = ContextAnalyzer::menuOccurrences(*bar, {markers, english, index}, Date{});
    ASSERT_TRUE(menus.contains("close"));
    EXPECT_EQ(menus.at("close").front().screen, "Menu bar > File > Recent");
}

// The window shown last (and activated) stands over the first; the dialog that was shown and hidden
// again is no window on screen.
TEST_F(AtspiTreeTests, WindowsComeFrontToBackAndOnlyWhileShowing) {
    EXPECT_EQ(titles(windows),
              (std::vector<std::string>{testing::secondWindowTitle, testing::accessibleWindowTitle}));
    EXPECT_EQ(windows.front().second.role, "AXWindow");
    EXPECT_TRUE(find(windows.front().second, [](const AXNode& n) { return n.value == "Second label"; }));
}

TEST_F(AtspiTreeTests, AWindowReadHoldsWhatTheScreenShowsAndNothingElse) {
    struct Case {
        std::string text;
        bool read;
    };
    const std::vector<Case> cases{
        {"Visible page label", true},
        {"Hidden page", true},
        {"Framed label", true},
        {"Row 0", true},
        {"Partly shown label", true},
        // The second page of the tabs.
        {"Hidden page label", false},
        // The tab bar's scroll buttons, hidden while every tab fits.
        {"Scroll Left", false},
        {"Scroll Right", false},
        // The closed menus of the menu bar, which has a read of its own.
        {"File", false},
        {"Open", false},
        {"Close", false},
        // The hidden dialog's.
        {"Dialog label", false},
        // The table's rows scrolled out of view.
        {"Row 20", false},
        {"Row 29", false},
        // The panel that the toolkit calls showing, far outside the window.
        {"Outside label", false},
        // A label wholly above the window, within its width.
        {"Above label", false},
    };
    for (const auto& [title, tree] : windows)
        for (const Case& c : cases) {
            SCOPED_TRACE(title + ": " + c.text);
            const bool read = find(tree, [&](const AXNode& n) { return showsText(n, c.text); }) != nullptr;
            EXPECT_EQ(read, c.read && title == testing::accessibleWindowTitle);
        }
    EXPECT_EQ(count(mainWindow(), [](const AXNode& n) { return n.role.starts_with("AXMenu"); }), 0);
}

TEST_F(AtspiTreeTests, ElementsHaveTheRolesAndTextsAPersonSees) {
    struct Case {
        std::string name;
        Predicate element;
        std::string role;
        std::optional<std::string> label;
        std::optional<std::string> help;
        std::optional<std::string> placeholder;
    };
    const std::vector<Case> cases{
        {"a button with a tooltip", [](const AXNode& n) { return n.title == "Press me"; }, "AXButton",
         std::nullopt, "Presses the button", std::nullopt},
        {"a single-line field with a placeholder",
         [](const AXNode& n) { return n.placeholder == "Type a name" || n.label == "Type a name"; },
         "AXTextField", std::nullopt, std::nullopt, "Type a name"},
        {"a multi-line field", [](const AXNode& n) { return n.value == "First line\nSecond line"; },
         "AXTextArea", std::nullopt, std::nullopt, std::nullopt},
        {"a label", [](const AXNode& n) { return n.value == "Hello label"; }, "AXStaticText", std::nullopt,
         std::nullopt, std::nullopt},
        {"a table's column header", [](const AXNode& n) { return n.title == "Name"; }, "AXButton",
         std::nullopt, std::nullopt, std::nullopt},
    };
    const AXNode& tree = mainWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AXNode* element = find(tree, c.element);
        ASSERT_TRUE(element);
        EXPECT_EQ(element->role, c.role);
        EXPECT_EQ(element->label, c.label);
        EXPECT_EQ(element->help, c.help);
        EXPECT_EQ(element->placeholder, c.placeholder);
    }
    // The frames drawn inside the window are groups; the window is the only window.
    EXPECT_EQ(count(tree, [](const AXNode& n) { return n.role == "AXWindow"; }), 1);
    const AXNode* framed = find(tree, [](const AXNode& n) {
        return n.role == "AXGroup" && n.children.size() == 1 && n.children[0].role == "AXGroup" &&
               find(n.children[0], [](const AXNode& m) { return m.value == "Framed label"; });
    });
    EXPECT_TRUE(framed);
}

// What the analyzer makes of the read: the words a person would use for where each text stands.
TEST_F(AtspiTreeTests, TheAnalyzerDescribesTheReadAsTheScreenShowsIt) {
    const ContextAnalyzer::TextIndex index{
        {"Presses the button", "tooltip"}, {"Type a name", "placeholder"}, {"Open", "open"},
        {"Hidden page label", "hidden"},   {"Second label", "second"},     {"Framed label", "framed"}};
    const ContextAnalyzer::MarkerTable markers;
    const ContextAnalyzer::EnglishTexts english;
    const auto found =
        ContextAnalyzer::analyze(windows, std::nullopt, "Test app", {markers, english, index}, Date{});
    auto places = [&](const std::string& id) {
        std::vector<std::string> out;
        if (found.contains(id))
            for (const Occurrence& occurrence : found.at(id))
                out.push_back(occurrence.screen + " · " + occurrence.role);
        return out;
    };
    const std::string main = testing::accessibleWindowTitle;
    EXPECT_EQ(places("tooltip"), std::vector<std::string>{main + " · tooltip button"});
    EXPECT_EQ(places("placeholder"), std::vector<std::string>{main + " · placeholder of text field"});
    EXPECT_EQ(places("framed"), std::vector<std::string>{main + " · text"});
    EXPECT_EQ(places("second"),
              std::vector<std::string>{std::string(testing::secondWindowTitle) + " · text"});
    EXPECT_TRUE(places("open").empty());
    EXPECT_TRUE(places("hidden").empty());
}

} // namespace
} // namespace orvel
