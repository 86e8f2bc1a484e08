#pragma once
// One element of another process's AT-SPI tree behind the reader's element interface. Only the desktop
// backends include this header: it brings in libatspi and GLib.

#include <memory>
#include <mutex>
#include <string>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"
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

    // What every element of one read shares.
    struct Read {
        // The toolkit describes an empty single-line field that nothing else describes by its placeholder.
        bool describesFieldsByPlaceholder = false;
    };

    // Takes over one reference to `accessible`. `parentRole` is the AT-SPI role name of its parent.
    AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape, Reach reach,
                 std::shared_ptr<const Read> read);
    ~AtspiElement() override;
    AtspiElement(const AtspiElement&) = delete;
    AtspiElement& operator=(const AtspiElement&) = delete;

    std::optional<AXValue> attribute(const std::string& name) const override;
    // libatspi has one time-out for every call of the process, so this sets that one.
    void setMessagingTimeout(double seconds) override;

  private:
    struct Child {
        AtspiCalls::GObjectPtr<AtspiAccessible> accessible;
        AtspiFacts::Facts facts;
    };

    const AtspiFacts::Facts& facts() const;
    const std::string& roleName() const;
    const AtspiRoleMap::AXRole& role() const;
    std::vector<Child> readChildren() const;
    AXElementList children() const;
    AXElementList windows() const;
    std::shared_ptr<AtspiElement> element(Child child) const;
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
    std::shared_ptr<const Read> m_read;
    // Read together for all children of an element when its children are read, or on first use.
    mutable std::optional<AtspiFacts::Facts> m_facts;
    mutable std::optional<AtspiRoleMap::AXRole> m_role;
    mutable std::optional<AtspiTexts::Texts> m_texts;
};

} // namespace orvel
