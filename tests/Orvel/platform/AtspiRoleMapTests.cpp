#include <gtest/gtest.h>

#include "Orvel/platform/AtspiRoleMap.h"

namespace orvel {
namespace {

using AtspiRoleMap::AXRole;

TEST(AtspiRoleMapTests, RolesBecomeTheReadersRolesInTheirContext) {
    struct Case {
        std::string role;
        std::string parent;
        bool singleLine;
        AXRole expected;
    };
    const std::vector<Case> cases{
        {"frame", "application", false, {"AXWindow"}},
        {"dialog", "application", false, {"AXWindow", "AXDialog"}},
        {"filler", "application", false, {"AXWindow"}},
        {"panel", "application", false, {"AXWindow"}},
        {"frame", "frame", false, {"AXGroup"}},
        {"frame", "filler", false, {"AXGroup"}},
        {"filler", "frame", false, {"AXGroup"}},
        {"tool tip", "application", false, {"AXHelpTag"}},
        {"push button", "panel", false, {"AXButton"}},
        {"push-button", "panel", false, {"AXButton"}},
        {"toggle button", "panel", false, {"AXButton", "AXToggle"}},
        {"page tab", "page tab list", false, {"AXRadioButton", "AXTabButton"}},
        {"page tab list", "panel", false, {"AXTabGroup"}},
        {"check box", "panel", false, {"AXCheckBox"}},
        {"combo box", "panel", false, {"AXPopUpButton"}},
        {"text", "panel", true, {"AXTextField"}},
        {"text", "panel", false, {"AXTextArea"}},
        {"entry", "panel", false, {"AXTextField"}},
        {"label", "panel", false, {"AXStaticText"}},
        {"heading", "panel", false, {"AXHeading"}},
        {"scroll pane", "frame", false, {"AXScrollArea"}},
        {"tree table", "scroll pane", false, {"AXOutline"}},
        {"list item", "list", false, {"AXCell"}},
        {"table column header", "table", false, {"AXButton"}},
        {"table-row-header", "table", false, {"AXButton"}},
        {"column header", "tree table", false, {"AXButton"}},
        {"row header", "table", false, {"AXButton"}},
        {"menu bar", "frame", false, {"AXMenuBar"}},
        {"menu", "menu bar", false, {"AXMenuBarItem", std::nullopt, true}},
        {"menu", "menu", false, {"AXMenuItem", std::nullopt, true}},
        {"menu", "popup menu", false, {"AXMenuItem", std::nullopt, true}},
        {"menu", "frame", false, {"AXMenu"}},
        {"menu item", "menu bar", false, {"AXMenuBarItem"}},
        {"check menu item", "menu", false, {"AXMenuItem"}},
        {"popup menu", "menu item", false, {"AXMenu"}},
        {"status bar", "frame", false, {"AXStatusBar"}},
        {"document-web", "frame", false, {"AXDocumentWeb"}},
        {"unknown", "frame", false, {}},
        {"invalid", "frame", false, {}},
        {"", "frame", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.role + " in " + c.parent);
        EXPECT_EQ(AtspiRoleMap::axRole(c.role, c.parent, c.singleLine), c.expected);
    }
}

} // namespace
} // namespace orvel
