#include "Orvel/platform/AtspiElement.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>

namespace orvel {
namespace {

// The reader never takes more nodes than this from one element; an app listing millions of children
// must not make us build them all first.
constexpr gint maxChildren = 5000;
// A whole document in a text view is no interface text.
constexpr gint maxTextCharacters = 10000;
// Where the menu-bar search looks: the upper levels of the windows, where toolkits put the menu bar.
constexpr int menuBarSearchDepth = 5;
constexpr int menuBarSearchNodes = 500;

struct GFree {
    void operator()(void* pointer) const { g_free(pointer); }
};
struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Every libatspi call reports failure through a GError; a failed read is simply an absent value.
class ErrorSlot {
  public:
    ~ErrorSlot() { g_clear_error(&m_error); }
    GError** operator&() { return &m_error; }
    bool failed() const { return m_error != nullptr; }

  private:
    GError* m_error = nullptr;
};

std::optional<std::string> ownedText(gchar* text, bool failed) {
    std::unique_ptr<gchar, GFree> owner(text);
    if (failed || !text)
        return std::nullopt;
    return std::string(text);
}

std::string roleNameOf(AtspiAccessible* accessible) {
    ErrorSlot error;
    const AtspiRole role = atspi_accessible_get_role(accessible, &error);
    if (error.failed())
        return {};
    return ownedText(atspi_role_get_name(role), false).value_or("");
}

bool isTextContent(const std::string& role) {
    return role == "AXStaticText" || role == "AXHeading";
}

bool isEditableText(const std::string& role) {
    return role == "AXTextField" || role == "AXTextArea";
}

std::optional<std::string> textContent(AtspiAccessible* accessible) {
    GObjectPtr<AtspiText> text(atspi_accessible_get_text_iface(accessible));
    if (!text)
        return std::nullopt;
    ErrorSlot countError;
    const gint count = atspi_text_get_character_count(text.get(), &countError);
    if (countError.failed() || count < 0)
        return std::nullopt;
    ErrorSlot error;
    gchar* content = atspi_text_get_text(text.get(), 0, std::min(count, maxTextCharacters), &error);
    return ownedText(content, error.failed());
}

std::optional<std::string> objectAttribute(AtspiAccessible* accessible, const char* key) {
    ErrorSlot error;
    GHashTable* table = atspi_accessible_get_attributes(accessible, &error);
    if (error.failed() || !table)
        return std::nullopt;
    std::optional<std::string> out;
    if (const auto* found = static_cast<const gchar*>(g_hash_table_lookup(table, key)); found && *found)
        out = found;
    g_hash_table_unref(table);
    return out;
}

std::optional<AtspiRect> extents(AtspiAccessible* accessible) {
    GObjectPtr<AtspiComponent> component(atspi_accessible_get_component_iface(accessible));
    if (!component)
        return std::nullopt;
    ErrorSlot error;
    std::unique_ptr<AtspiRect, GFree> rect(
        atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, &error));
    if (error.failed() || !rect)
        return std::nullopt;
    return *rect;
}

bool isSingleLine(AtspiAccessible* accessible) {
    GObjectPtr<AtspiStateSet> states(atspi_accessible_get_state_set(accessible));
    return states && atspi_state_set_contains(states.get(), ATSPI_STATE_SINGLE_LINE);
}

AtspiAccessible* childAt(AtspiAccessible* accessible, gint index) {
    ErrorSlot error;
    AtspiAccessible* child = atspi_accessible_get_child_at_index(accessible, index, &error);
    if (error.failed()) {
        if (child)
            g_object_unref(child);
        return nullptr;
    }
    return child;
}

gint childCount(AtspiAccessible* accessible) {
    ErrorSlot error;
    const gint count = atspi_accessible_get_child_count(accessible, &error);
    return error.failed() ? 0 : std::clamp(count, 0, maxChildren);
}

} // namespace

std::recursive_mutex& atspiLock() {
    static std::recursive_mutex lock;
    return lock;
}

AtspiElement::AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape)
    : m_accessible(accessible), m_parentRole(std::move(parentRole)), m_shape(shape) {}

AtspiElement::~AtspiElement() {
    std::lock_guard guard(atspiLock());
    g_object_unref(m_accessible);
}

void AtspiElement::setMessagingTimeout(double seconds) {
    std::lock_guard guard(atspiLock());
    if (std::isfinite(seconds) && seconds > 0)
        atspi_set_timeout(static_cast<gint>(std::min(seconds, 3600.0) * 1000), -1);
}

std::optional<AXValue> AtspiElement::attribute(const std::string& name) const {
    std::lock_guard guard(atspiLock());
    switch (m_shape) {
    case Shape::application:
        return applicationAttribute(name);
    case Shape::menuOfTitle:
        if (name == "AXRole")
            return std::string("AXMenu");
        if (name == "AXChildren")
            return children();
        return std::nullopt;
    case Shape::element:
        break;
    }
    return elementAttribute(name);
}

const std::string& AtspiElement::roleName() const {
    if (!m_roleName)
        m_roleName = roleNameOf(m_accessible);
    return *m_roleName;
}

const AtspiRoleMap::AXRole& AtspiElement::role() const {
    if (!m_role)
        m_role = AtspiRoleMap::axRole(roleName(), m_parentRole,
                                      roleName() == "text" && isSingleLine(m_accessible));
    return *m_role;
}

AXElementList AtspiElement::children() const {
    AXElementList out;
    const gint count = childCount(m_accessible);
    for (gint i = 0; i < count; ++i)
        if (AtspiAccessible* child = childAt(m_accessible, i))
            out.push_back(std::make_shared<AtspiElement>(child, roleName(), Shape::element));
    return out;
}

std::optional<AXValue> AtspiElement::applicationAttribute(const std::string& name) const {
    if (name == "AXRole")
        return std::string("AXApplication");
    if (name == "AXTitle") {
        ErrorSlot error;
        return ownedText(atspi_accessible_get_name(m_accessible, &error), error.failed());
    }
    if (name == "AXWindows" || name == "AXChildren")
        return children();
    if (name == "AXMenuBar")
        return menuBar();
    return std::nullopt;
}

std::optional<AXValue> AtspiElement::elementAttribute(const std::string& name) const {
    const AtspiRoleMap::AXRole& mapped = role();
    if (name == "AXRole")
        return mapped.role;
    if (name == "AXSubrole")
        return mapped.subrole;
    if (name == "AXTitle") {
        // A label's name is its text, which it shows as its value.
        if (isTextContent(mapped.role))
            return std::nullopt;
        ErrorSlot error;
        return ownedText(atspi_accessible_get_name(m_accessible, &error), error.failed());
    }
    if (name == "AXDescription") {
        ErrorSlot error;
        return ownedText(atspi_accessible_get_description(m_accessible, &error), error.failed());
    }
    if (name == "AXValue")
        return value();
    if (name == "AXPlaceholderValue")
        return objectAttribute(m_accessible, "placeholder-text");
    if (name == "AXPosition" || name == "AXSize") {
        auto rect = extents(m_accessible);
        if (!rect)
            return std::nullopt;
        if (name == "AXPosition")
            return AXPoint{static_cast<double>(rect->x), static_cast<double>(rect->y)};
        return AXSize{static_cast<double>(rect->width), static_cast<double>(rect->height)};
    }
    if (name == "AXChildren") {
        if (mapped.titlesMenu) {
            g_object_ref(m_accessible);
            return AXElementList{
                std::make_shared<AtspiElement>(m_accessible, roleName(), Shape::menuOfTitle)};
        }
        return children();
    }
    return std::nullopt;
}

std::optional<AXValue> AtspiElement::value() const {
    const std::string& role = this->role().role;
    if (isTextContent(role) || isEditableText(role)) {
        if (auto text = textContent(m_accessible))
            return *text;
        if (!isTextContent(role))
            return std::nullopt;
        ErrorSlot error;
        return ownedText(atspi_accessible_get_name(m_accessible, &error), error.failed());
    }
    GObjectPtr<AtspiValue> number(atspi_accessible_get_value_iface(m_accessible));
    if (!number)
        return std::nullopt;
    ErrorSlot error;
    const double current = atspi_value_get_current_value(number.get(), &error);
    if (error.failed())
        return std::nullopt;
    return current;
}

// Toolkits put the menu bar inside a window rather than on the application: a breadth-first search of
// the upper levels of the windows finds it.
std::optional<AXElementRef> AtspiElement::menuBar() const {
    struct Pending {
        GObjectPtr<AtspiAccessible> accessible;
        std::string parentRole;
        int depth;
    };
    std::deque<Pending> queue;
    g_object_ref(m_accessible);
    queue.push_back({GObjectPtr<AtspiAccessible>(m_accessible), "application", 0});
    int visited = 0;
    while (!queue.empty() && visited < menuBarSearchNodes) {
        Pending next = std::move(queue.front());
        queue.pop_front();
        ++visited;
        const std::string role = next.depth == 0 ? "application" : roleNameOf(next.accessible.get());
        if (role == "menu bar")
            return std::make_shared<AtspiElement>(next.accessible.release(), next.parentRole, Shape::element);
        if (next.depth >= menuBarSearchDepth)
            continue;
        const gint count = childCount(next.accessible.get());
        for (gint i = 0; i < count && visited + static_cast<int>(queue.size()) < menuBarSearchNodes; ++i)
            if (AtspiAccessible* child = childAt(next.accessible.get(), i))
                queue.push_back({GObjectPtr<AtspiAccessible>(child), role, next.depth + 1});
    }
    return std::nullopt;
}

} // namespace orvel
