#pragma once
// One element of another process's AT-SPI tree behind the reader's element interface. Only the desktop
// backends include this header: it brings in libatspi and GLib.

#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"
#include "Orvel/platform/AtspiExchange.h"
#include "Orvel/platform/AtspiFacts.h"
#include "Orvel/platform/AtspiRoleMap.h"
#include "Orvel/platform/AtspiTexts.h"
#include "engine/capture/AXElement.h"

namespace orvel {

// libatspi keeps one connection and one cache for the whole process and is not thread-safe: every call
// into it holds this lock.
std::recursive_mutex& atspiLock();

class AtspiElement : public AXElement {
  public:
    enum class Shape {
        // The process itself: its windows and its menu bar.
        application,
        element,
        // The menu that a menu title (an element whose role titlesMenu) holds: the same element's children.
        menuOfTitle,
    };

    // How much of the tree below an element its read takes in.
    enum class Reach {
        // What the screen shows: only showing elements, and no menu bar, which is read on its own.
        onScreen,
        // Everything, closed menus included: the menu bar's read.
        everything,
    };

    // What every element of one read shares: its exchange with the other process, and what it learns once.
    struct Read {
        // Takes over one reference to the application element of the process read.
        Read(AtspiAccessible* application, int timeoutMs);

        AtspiExchange exchange;
        AtspiCalls::GObjectPtr<AtspiAccessible> application;
        // The toolkit describes an empty single-line field that nothing else describes by its placeholder;
        // asked on first need.
        std::optional<bool> describesFieldsByPlaceholder;
        // The toolkit marks no element inside a window as showing (GTK 4): what is visible with an area
        // inside its window shows. Asked on first need.
        std::optional<bool> marksNothingShowing;
    };

    // Takes over one reference to `accessible`. `parentRole` is the AT-SPI role name of its parent.
    AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape, Reach reach,
                 std::shared_ptr<Read> read);
    ~AtspiElement() override;
    AtspiElement(const AtspiElement&) = delete;
    AtspiElement& operator=(const AtspiElement&) = delete;

    std::optional<AXValue> attribute(const std::string& name) const override;
    // The read's own time-out, and libatspi's, which is one for every call of the process.
    void setMessagingTimeout(double seconds) override;
    void setStopToken(std::stop_token stop) override;
    bool cut() const override;

  private:
    struct Child {
        AtspiCalls::GObjectPtr<AtspiAccessible> accessible;
        AtspiFacts::Facts facts;
    };

    const AtspiFacts::Facts& facts() const;
    const std::string& roleName() const;
    const AtspiRoleMap::AXRole& role() const;
    std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>> listedChildren() const;
    // The part of a view's frame inside its window.
    std::optional<AtspiRect> viewArea() const;
    // The indices of the children that can show, for a view that can tell them by its rows.
    std::optional<std::vector<int>> showingRows() const;
    std::vector<Child> readChildren() const;
    void readRest(const std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>& found,
                  std::vector<AtspiFacts::Facts>& facts) const;
    bool onScreen(const AtspiFacts::Facts& child) const;
    AXElementList children() const;
    AXElementList windows() const;
    std::shared_ptr<AtspiElement> element(Child child) const;
    void readContents(const std::vector<std::shared_ptr<AtspiElement>>& elements) const;
    const std::optional<std::string>& content() const;
    bool describesFieldsByPlaceholder() const;
    bool marksNothingShowing() const;
    // The toolkit names a widget that nothing names by its type's name (GTK 4).
    bool namesUnnamedByType() const;
    // The texts of the labels among the element's children.
    std::vector<std::string> labelTexts() const;
    // Whether GTK 4 gave the element its name rather than the app: its type's name, unless a label of
    // the element shows those words, or a tab's "Tab" beside the label that shows the tab's own words.
    bool nameIsTheToolkits(const std::string& name) const;
    std::optional<AXValue> elementAttribute(const std::string& name) const;
    std::optional<AXValue> applicationAttribute(const std::string& name) const;
    const AtspiTexts::Texts& texts() const;
    std::optional<AXValue> textAttribute(const std::string& attribute) const;
    std::optional<AXValue> value() const;
    std::optional<AXValue> extentsAttribute(const std::string& name) const;
    std::optional<AXElementRef> menuBar() const;

    AtspiAccessible* m_accessible;
    std::string m_parentRole;
    Shape m_shape;
    Reach m_reach;
    std::shared_ptr<Read> m_read;
    // The frame of the window that holds the element; what lies wholly outside it is not on screen.
    std::optional<AtspiRect> m_window;
    // Read together for all children of an element when its children are read, or on first use.
    mutable std::optional<AtspiFacts::Facts> m_facts;
    // The characters of its text interface, once read.
    mutable std::optional<std::optional<std::string>> m_content;
    mutable std::optional<AtspiRoleMap::AXRole> m_role;
    mutable std::optional<AtspiTexts::Texts> m_texts;
};

} // namespace orvel
