#pragma once
// One element of another process's AT-SPI tree behind the reader's element interface. Only the desktop
// backends include this header: it brings in libatspi and GLib.

#include <mutex>
#include <string>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiRoleMap.h"
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

    // Takes over one reference to `accessible`. `parentRole` is the AT-SPI role name of its parent.
    AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape);
    ~AtspiElement() override;
    AtspiElement(const AtspiElement&) = delete;
    AtspiElement& operator=(const AtspiElement&) = delete;

    std::optional<AXValue> attribute(const std::string& name) const override;
    // libatspi has one time-out for every call of the process, so this sets that one.
    void setMessagingTimeout(double seconds) override;

  private:
    const std::string& roleName() const;
    const AtspiRoleMap::AXRole& role() const;
    AXElementList children() const;
    std::optional<AXValue> elementAttribute(const std::string& name) const;
    std::optional<AXValue> applicationAttribute(const std::string& name) const;
    std::optional<AXValue> value() const;
    std::optional<AXElementRef> menuBar() const;

    AtspiAccessible* m_accessible;
    std::string m_parentRole;
    Shape m_shape;
    mutable std::optional<std::string> m_roleName;
    mutable std::optional<AtspiRoleMap::AXRole> m_role;
};

} // namespace orvel
