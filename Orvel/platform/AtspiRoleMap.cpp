#include "Orvel/platform/AtspiRoleMap.h"

#include <cctype>
#include <map>

namespace orvel::AtspiRoleMap {
namespace {

std::string spaced(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c == '-' || c == '_')
            c = ' ';
    return out;
}

bool isMenuBar(const std::string& role) {
    return role == "menu bar";
}

// The children of the application are its windows, whatever container role the toolkit gives a plain
// top-level widget; a frame anywhere else is a frame drawn inside a window.
bool isApplication(const std::string& role) {
    return role == "application";
}

bool isWindowRole(const std::string& role) {
    return role == "frame" || role == "window" || role == "filler" || role == "panel";
}

bool isMenuItem(const std::string& role) {
    return role == "menu item" || role == "check menu item" || role == "radio menu item" ||
           role == "tearoff menu item";
}

// "status bar" -> "AXStatusBar".
std::string readerForm(const std::string& role) {
    std::string out = "AX";
    bool wordStart = true;
    for (char c : role) {
        if (c == ' ') {
            wordStart = true;
            continue;
        }
        out += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    return out;
}

const std::map<std::string, AXRole, std::less<>>& fixedRoles() {
    static const std::map<std::string, AXRole, std::less<>> roles{
        {"frame", {"AXGroup"}},
        {"window", {"AXWindow"}},
        {"dialog", {"AXWindow", "AXDialog"}},
        {"alert", {"AXWindow", "AXDialog"}},
        {"file chooser", {"AXWindow", "AXDialog"}},
        {"push button", {"AXButton"}},
        {"toggle button", {"AXButton", "AXToggle"}},
        {"push button menu", {"AXMenuButton"}},
        {"check box", {"AXCheckBox"}},
        {"radio button", {"AXRadioButton"}},
        {"page tab", {"AXRadioButton", "AXTabButton"}},
        {"page tab list", {"AXTabGroup"}},
        {"combo box", {"AXPopUpButton"}},
        {"entry", {"AXTextField"}},
        {"password text", {"AXTextField", "AXSecureTextField"}},
        {"slider", {"AXSlider"}},
        {"spin button", {"AXIncrementor"}},
        {"label", {"AXStaticText"}},
        {"static", {"AXStaticText"}},
        {"caption", {"AXStaticText"}},
        {"paragraph", {"AXStaticText"}},
        {"heading", {"AXHeading"}},
        {"link", {"AXLink"}},
        {"image", {"AXImage"}},
        {"icon", {"AXImage"}},
        {"color chooser", {"AXColorWell"}},
        {"date editor", {"AXDateField"}},
        {"level bar", {"AXLevelIndicator"}},
        {"progress bar", {"AXProgressIndicator"}},
        {"scroll pane", {"AXScrollArea"}},
        {"split pane", {"AXSplitGroup"}},
        {"tool bar", {"AXToolbar"}},
        {"list", {"AXList"}},
        {"list box", {"AXList"}},
        {"tree", {"AXOutline"}},
        {"tree table", {"AXOutline"}},
        {"table", {"AXTable"}},
        {"list item", {"AXCell"}},
        {"table cell", {"AXCell"}},
        {"tree item", {"AXRow"}},
        {"table row", {"AXRow"}},
        // A header cell is a button of the table's header, as a person clicks it to sort.
        {"table column header", {"AXButton"}},
        {"table row header", {"AXButton"}},
        {"column header", {"AXButton"}},
        {"row header", {"AXButton"}},
        {"menu bar", {"AXMenuBar"}},
        {"popup menu", {"AXMenu"}},
        {"tool tip", {"AXHelpTag"}},
        {"panel", {"AXGroup"}},
        {"filler", {"AXGroup"}},
        {"grouping", {"AXGroup"}},
        {"section", {"AXGroup"}},
    };
    return roles;
}

} // namespace

AXRole axRole(std::string_view role, std::string_view parent, bool singleLine) {
    const std::string name = spaced(role);
    const std::string parentName = spaced(parent);
    if (name == "invalid" || name == "unknown" || name.empty())
        return {};
    // A menu directly in the menu bar is a menu title there; a menu inside a menu opens a submenu.
    if (name == "menu") {
        if (isMenuBar(parentName))
            return {"AXMenuBarItem", std::nullopt, true};
        if (parentName == "menu" || parentName == "popup menu")
            return {"AXMenuItem", std::nullopt, true};
        return {"AXMenu"};
    }
    if (isMenuItem(name))
        return {isMenuBar(parentName) ? "AXMenuBarItem" : "AXMenuItem"};
    if (name == "text")
        return {singleLine ? "AXTextField" : "AXTextArea"};
    if (isApplication(parentName) && isWindowRole(name))
        return {"AXWindow"};
    if (auto fixed = fixedRoles().find(name); fixed != fixedRoles().end())
        return fixed->second;
    return {readerForm(name)};
}

} // namespace orvel::AtspiRoleMap
