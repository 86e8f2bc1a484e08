#include "Orvel/platform/AtspiElement.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "Orvel/platform/AtspiTexts.h"
#include "Orvel/platform/AtspiWindowOrder.h"

namespace orvel {
namespace {

using AtspiCalls::GObjectPtr;

// The reader never takes more nodes than this from one element; an app listing millions of children
// must not make us build them all first.
constexpr int maxChildren = 5000;
// A whole document in a text view is no interface text.
constexpr int maxTextCharacters = 10000;
// Where the menu-bar search looks: the upper levels of the windows, where toolkits put the menu bar.
constexpr int menuBarSearchDepth = 5;
constexpr int menuBarSearchNodes = 500;

bool isTextContent(const std::string& role) {
    return role == "AXStaticText" || role == "AXHeading";
}

bool isEditableText(const std::string& role) {
    return role == "AXTextField" || role == "AXTextArea";
}

bool isMenuBar(const std::string& roleName) {
    return roleName == "menu bar";
}

} // namespace

std::recursive_mutex& atspiLock() {
    static std::recursive_mutex lock;
    return lock;
}

AtspiElement::AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape, Reach reach,
                           std::shared_ptr<const Read> read)
    : m_accessible(accessible), m_parentRole(std::move(parentRole)), m_shape(shape), m_reach(reach),
      m_read(std::move(read)) {}

AtspiElement::~AtspiElement() {
    std::lock_guard guard(atspiLock());
    g_object_unref(m_accessible);
}

void AtspiElement::setMessagingTimeout(double seconds) {
    std::lock_guard guard(atspiLock());
    if (std::isfinite(seconds) && seconds > 0)
        AtspiCalls::setTimeout(static_cast<int>(std::min(seconds, 3600.0) * 1000));
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

const AtspiFacts::Facts& AtspiElement::facts() const {
    if (!m_facts)
        m_facts = std::move(AtspiFacts::read({m_accessible}, maxChildren, AtspiCalls::timeoutMs()).front());
    return *m_facts;
}

const std::string& AtspiElement::roleName() const {
    return facts().roleName;
}

const AtspiRoleMap::AXRole& AtspiElement::role() const {
    if (!m_role) {
        // Toolkits that mark no field single-line still mark the fields that take several lines.
        const AtspiCalls::States& states = facts().states;
        const bool singleLine = roleName() == "text" && (states.singleLine || !states.multiLine);
        m_role = AtspiRoleMap::axRole(roleName(), m_parentRole, singleLine);
    }
    return *m_role;
}

std::vector<AtspiElement::Child> AtspiElement::readChildren() const {
    std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>> found;
    if (const auto& listed = facts().children) {
        for (const auto& child : *listed)
            found.emplace_back(static_cast<AtspiAccessible*>(g_object_ref(child.get())));
    } else {
        const int count = AtspiCalls::childCount(m_accessible, maxChildren);
        for (int i = 0; i < count; ++i)
            if (AtspiAccessible* child = AtspiCalls::childAt(m_accessible, i))
                found.emplace_back(child);
    }
    std::vector<AtspiAccessible*> accessibles;
    for (const auto& child : found)
        accessibles.push_back(child.get());
    std::vector<AtspiFacts::Facts> facts =
        AtspiFacts::read(accessibles, maxChildren, AtspiCalls::timeoutMs());
    std::vector<Child> out;
    for (std::size_t i = 0; i < found.size(); ++i) {
        // What the screen does not show (closed menus, hidden pages and dialogs, scrolled-away buttons)
        // is no context of what it shows; the menu bar is read on its own.
        if (m_reach == Reach::onScreen && (!facts[i].states.showing || isMenuBar(facts[i].roleName)))
            continue;
        out.push_back({std::move(found[i]), std::move(facts[i])});
    }
    return out;
}

std::shared_ptr<AtspiElement> AtspiElement::element(Child child) const {
    auto out = std::make_shared<AtspiElement>(child.accessible.release(), roleName(), Shape::element, m_reach,
                                              m_read);
    out->m_facts = std::move(child.facts);
    return out;
}

AXElementList AtspiElement::children() const {
    AXElementList out;
    for (Child& child : readChildren())
        out.push_back(element(std::move(child)));
    return out;
}

AXElementList AtspiElement::windows() const {
    std::vector<Child> windows = readChildren();
    std::vector<AtspiWindowOrder::Window> facts;
    for (const Child& window : windows)
        facts.push_back({.active = window.facts.states.active, .showing = window.facts.states.showing});
    AXElementList out;
    for (std::size_t index : AtspiWindowOrder::frontToBack(facts))
        out.push_back(element(std::move(windows[index])));
    return out;
}

std::optional<AXValue> AtspiElement::applicationAttribute(const std::string& name) const {
    if (name == "AXRole")
        return std::string("AXApplication");
    if (name == "AXTitle")
        return AtspiCalls::name(m_accessible);
    if (name == "AXWindows" || name == "AXChildren")
        return windows();
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
    if (name == "AXTitle" || name == "AXDescription" || name == "AXHelp" || name == "AXPlaceholderValue")
        return textAttribute(name);
    if (name == "AXValue")
        return value();
    if (name == "AXPosition" || name == "AXSize")
        return extentsAttribute(name);
    if (name == "AXChildren") {
        if (mapped.titlesMenu) {
            g_object_ref(m_accessible);
            return AXElementList{std::make_shared<AtspiElement>(m_accessible, roleName(), Shape::menuOfTitle,
                                                                m_reach, m_read)};
        }
        return children();
    }
    return std::nullopt;
}

const AtspiTexts::Texts& AtspiElement::texts() const {
    if (m_texts)
        return *m_texts;
    const std::string& role = this->role().role;
    AtspiTexts::Published published;
    published.name = facts().name;
    published.description = facts().description;
    published.nameIsContent = isTextContent(role);
    if (isEditableText(role)) {
        published.placeholder = AtspiCalls::objectAttribute(m_accessible, "placeholder-text");
        published.describedByPlaceholder = m_read->describesFieldsByPlaceholder && role == "AXTextField" &&
                                           facts().hasText &&
                                           AtspiCalls::text(m_accessible, 1).value_or("x").empty();
    }
    m_texts = AtspiTexts::texts(published);
    return *m_texts;
}

std::optional<AXValue> AtspiElement::textAttribute(const std::string& attribute) const {
    const AtspiTexts::Texts& texts = this->texts();
    const std::optional<std::string>& text = attribute == "AXTitle"         ? texts.title
                                             : attribute == "AXDescription" ? texts.label
                                             : attribute == "AXHelp"        ? texts.help
                                                                            : texts.placeholder;
    if (!text)
        return std::nullopt;
    return *text;
}

std::optional<AXValue> AtspiElement::value() const {
    const std::string& role = this->role().role;
    if (isTextContent(role) || isEditableText(role)) {
        if (facts().hasText)
            if (auto text = AtspiCalls::text(m_accessible, maxTextCharacters))
                return *text;
        // A label without a text interface shows its name.
        if (!isTextContent(role) || !facts().name)
            return std::nullopt;
        return *facts().name;
    }
    if (facts().hasValue)
        if (auto current = AtspiCalls::currentValue(m_accessible))
            return *current;
    return std::nullopt;
}

std::optional<AXValue> AtspiElement::extentsAttribute(const std::string& name) const {
    const auto& rect = facts().extents;
    if (!rect)
        return std::nullopt;
    if (name == "AXPosition")
        return AXPoint{static_cast<double>(rect->x), static_cast<double>(rect->y)};
    return AXSize{static_cast<double>(rect->width), static_cast<double>(rect->height)};
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
        const std::string role =
            next.depth == 0 ? "application" : AtspiCalls::roleName(next.accessible.get());
        if (isMenuBar(role))
            return std::make_shared<AtspiElement>(next.accessible.release(), next.parentRole, Shape::element,
                                                  Reach::everything, m_read);
        if (next.depth >= menuBarSearchDepth)
            continue;
        const int count = AtspiCalls::childCount(next.accessible.get(), maxChildren);
        for (int i = 0; i < count && visited + static_cast<int>(queue.size()) < menuBarSearchNodes; ++i)
            if (AtspiAccessible* child = AtspiCalls::childAt(next.accessible.get(), i))
                queue.push_back({GObjectPtr<AtspiAccessible>(child), role, next.depth + 1});
    }
    return std::nullopt;
}

} // namespace orvel
