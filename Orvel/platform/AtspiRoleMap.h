#pragma once
// The desktop accessibility service names the kind of an element by its AT-SPI role name ("push button",
// "page tab", ...); the reader and the analyzer speak the role names of the accessibility reader
// ("AXButton", "AXRadioButton" with subrole "AXTabButton", ...). This is the one translation between the two.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::AtspiRoleMap {

struct AXRole {
    std::string role;
    std::optional<std::string> subrole{};
    // The element is itself a menu: it shows as a menu title whose menu (an "AXMenu") holds its children,
    // the shape the menu walk expects.
    bool titlesMenu = false;

    bool operator==(const AXRole&) const = default;
};

// The reader's role of an element with the AT-SPI role `role`, whose parent has the role `parent`.
// Role names are compared in either spelling ("push button" or "push-button"). A text element is a
// text field when `singleLine`, else a text area. The application's frames, windows and plain containers
// are windows; a frame inside a window is a group. Roles without an equivalent keep their words in the
// reader's form ("status bar" becomes "AXStatusBar"); "invalid" and "unknown" give no role.
AXRole axRole(std::string_view role, std::string_view parent, bool singleLine);

} // namespace orvel::AtspiRoleMap
