#include "Orvel/platform/AtspiElement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "Orvel/platform/AtspiTableRows.h"
#include "Orvel/platform/AtspiTexts.h"
#include "Orvel/platform/AtspiWindowOrder.h"

namespace orvel {
namespace {

using AtspiCalls::GObjectPtr;

constexpr AtspiFacts::Limits limits{
    // The reader never takes more nodes than this from one element; an app listing millions of children
    // must not make us build them all first.
    .children = 5000,
    // A whole document in a text view is no interface text.
    .textCharacters = 10000,
};
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

// Views whose children are rows and cells, most of them scrolled out of view in a long one.
bool isView(const std::string& roleName) {
    return roleName == "table" || roleName == "tree table" || roleName == "tree" || roleName == "list" ||
           roleName == "list box";
}

// Apps report extents anywhere in the 32-bit range; their sums are taken in a wider type.
using Wide = long long;

std::optional<AtspiRect> intersection(const AtspiRect& a, const AtspiRect& b) {
    const Wide left = std::max(a.x, b.x);
    const Wide top = std::max(a.y, b.y);
    const Wide right = std::min(Wide{a.x} + a.width, Wide{b.x} + b.width);
    const Wide bottom = std::min(Wide{a.y} + a.height, Wide{b.y} + b.height);
    if (right <= left || bottom <= top)
        return std::nullopt;
    // Within one of the two rectangles, so its size fits as theirs does.
    return AtspiRect{.x = static_cast<int>(left),
                     .y = static_cast<int>(top),
                     .width = static_cast<int>(right - left),
                     .height = static_cast<int>(bottom - top)};
}

AtspiRoleMap::AXRole mappedRole(const AtspiFacts::Facts& facts, const std::string& parentRole) {
    // Toolkits that mark no field single-line still mark the fields that take several lines.
    const bool singleLine = facts.roleName == "text" && (facts.states.singleLine || !facts.states.multiLine);
    return AtspiRoleMap::axRole(facts.roleName, parentRole, singleLine);
}

// Edges that touch count as inside: only what cannot show any part of itself in the window is left out.
bool whollyOutside(const AtspiRect& frame, const AtspiRect& window) {
    return Wide{frame.x} + frame.width < window.x || frame.x > Wide{window.x} + window.width ||
           Wide{frame.y} + frame.height < window.y || frame.y > Wide{window.y} + window.height;
}

std::vector<AtspiAccessible*> pointers(const std::vector<GObjectPtr<AtspiAccessible>>& owned) {
    std::vector<AtspiAccessible*> out;
    out.reserve(owned.size());
    for (const auto& accessible : owned)
        out.push_back(accessible.get());
    return out;
}

GObjectPtr<AtspiAccessible> newReference(AtspiAccessible* accessible) {
    return GObjectPtr<AtspiAccessible>(static_cast<AtspiAccessible*>(g_object_ref(accessible)));
}

} // namespace

std::recursive_mutex& atspiLock() {
    static std::recursive_mutex lock;
    return lock;
}

AtspiElement::Read::Read(AtspiAccessible* application, int timeoutMs)
    : exchange(timeoutMs), application(application) {}

AtspiElement::AtspiElement(AtspiAccessible* accessible, std::string parentRole, Shape shape, Reach reach,
                           std::shared_ptr<Read> read)
    : m_accessible(accessible), m_parentRole(std::move(parentRole)), m_shape(shape), m_reach(reach),
      m_read(std::move(read)) {}

AtspiElement::~AtspiElement() {
    std::lock_guard guard(atspiLock());
    g_object_unref(m_accessible);
}

void AtspiElement::setMessagingTimeout(double seconds) {
    std::lock_guard guard(atspiLock());
    if (!std::isfinite(seconds) || seconds <= 0)
        return;
    const int milliseconds = static_cast<int>(std::min(seconds, 3600.0) * 1000);
    AtspiCalls::setTimeout(milliseconds);
    m_read->exchange.setTimeout(milliseconds);
}

void AtspiElement::setStopToken(std::stop_token stop) {
    std::lock_guard guard(atspiLock());
    m_read->exchange.setStop(std::move(stop));
}

bool AtspiElement::cut() const {
    std::lock_guard guard(atspiLock());
    return m_read->exchange.cut();
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
    if (!m_facts) {
        std::vector<AtspiFacts::Facts> read;
        AtspiFacts::read({m_accessible}, AtspiFacts::all, limits, m_read->exchange, read);
        m_facts = std::move(read.front());
    }
    return *m_facts;
}

const std::string& AtspiElement::roleName() const {
    return facts().roleName;
}

const AtspiRoleMap::AXRole& AtspiElement::role() const {
    if (!m_role)
        m_role = mappedRole(facts(), m_parentRole);
    return *m_role;
}

std::vector<GObjectPtr<AtspiAccessible>> AtspiElement::listedChildren() const {
    std::vector<GObjectPtr<AtspiAccessible>> out;
    if (const auto& listed = facts().children) {
        for (const auto& child : *listed)
            out.push_back(newReference(child.get()));
        return out;
    }
    if (isView(roleName())) {
        if (auto indices = showingRows())
            return AtspiTableRows::childrenAt(m_read->exchange, m_accessible, *indices);
        // Only a read of what shows asks a view by its rows, and it has its own reasons to be cut.
        constexpr std::array<AtspiFacts::Question, 1> children{AtspiFacts::Question::children};
        std::vector<AtspiFacts::Facts> asked;
        AtspiFacts::read({m_accessible}, children, limits, m_read->exchange, asked);
        if (auto& listed = asked.front().children)
            return std::move(*listed);
    }
    return AtspiCalls::childrenOneByOne(m_read->exchange, m_accessible, limits.children);
}

std::optional<AtspiRect> AtspiElement::viewArea() const {
    std::optional<AtspiRect> visible = facts().extents;
    if (visible && m_window && m_window->width > 0 && m_window->height > 0)
        visible = intersection(*visible, *m_window);
    return visible;
}

std::optional<std::vector<int>> AtspiElement::showingRows() const {
    if (m_reach != Reach::onScreen || !facts().hasTable || !facts().extents)
        return std::nullopt;
    // A view wholly outside its window shows nothing; its headers are still looked at.
    AtspiTableRows::ShowingChildren showing = AtspiTableRows::showingIndices(
        m_read->exchange, m_accessible,
        viewArea().value_or(AtspiRect{.x = 0, .y = 0, .width = 0, .height = 0}));
    if (showing.unplaced)
        m_read->exchange.markPartial();
    return std::move(showing.indices);
}

// What the screen does not show (closed menus, hidden pages and dialogs, scrolled-away rows, docks put
// far outside their window) is no context of what it shows; the menu bar is read on its own.
bool AtspiElement::onScreen(const AtspiFacts::Facts& child) const {
    if (isMenuBar(child.roleName))
        return false;
    // What a view holds (its headers as its cells) shows only inside the view's own area; scrolled
    // away, it may lie over its neighbours in the window.
    if (m_shape == Shape::element && isView(roleName()) && facts().extents && child.extents) {
        const std::optional<AtspiRect> area = viewArea();
        if (!area || whollyOutside(*child.extents, *area))
            return false;
    }
    const bool hasArea = m_window && m_window->width > 0 && m_window->height > 0;
    // Windows themselves are marked showing by every toolkit.
    if (m_shape != Shape::application && marksNothingShowing()) {
        if (!child.states.visible)
            return false;
        // An element without a frame cannot be placed, and may hold ones that can.
        if (!child.extents)
            return true;
        return child.extents->width > 0 && child.extents->height > 0 &&
               (!hasArea || !whollyOutside(*child.extents, *m_window));
    }
    if (!child.states.showing)
        return false;
    return !hasArea || !child.extents || !whollyOutside(*child.extents, *m_window);
}

std::vector<AtspiElement::Child> AtspiElement::readChildren() const {
    std::vector<GObjectPtr<AtspiAccessible>> found = listedChildren();
    std::vector<AtspiFacts::Facts> facts;
    if (m_reach == Reach::everything) {
        AtspiFacts::read(pointers(found), AtspiFacts::all, limits, m_read->exchange, facts);
    } else {
        // Whether a child is on screen is asked of all of them; the rest only of those that are.
        AtspiFacts::read(pointers(found), AtspiFacts::firstLook, limits, m_read->exchange, facts);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (!onScreen(facts[i]))
                continue;
            if (kept != i) {
                found[kept] = std::move(found[i]);
                facts[kept] = std::move(facts[i]);
            }
            ++kept;
        }
        found.resize(kept);
        facts.resize(kept);
        readRest(found, facts);
    }
    std::vector<Child> out;
    for (std::size_t i = 0; i < found.size(); ++i)
        out.push_back({std::move(found[i]), std::move(facts[i])});
    return out;
}

// A label's text comes with the rest of its facts; other elements are asked which interfaces they have.
void AtspiElement::readRest(const std::vector<GObjectPtr<AtspiAccessible>>& found,
                            std::vector<AtspiFacts::Facts>& facts) const {
    std::vector<std::span<const AtspiFacts::Question>> questions;
    std::vector<bool> showsText;
    for (const AtspiFacts::Facts& child : facts) {
        showsText.push_back(isTextContent(mappedRole(child, roleName()).role));
        if (showsText.back())
            questions.emplace_back(AtspiFacts::restLookOfText);
        else if (isView(child.roleName))
            questions.emplace_back(AtspiFacts::restLookOfView);
        else
            questions.emplace_back(AtspiFacts::restLook);
    }
    AtspiFacts::read(
        pointers(found), [&](std::size_t i) { return questions[i]; }, limits, m_read->exchange, facts);
    // A label's text is its name; one that shows none (GTK 4 answers every label's text so) is asked for
    // its name and what it holds.
    std::vector<AtspiAccessible*> empty;
    std::vector<std::size_t> emptyAt;
    for (std::size_t i = 0; i < facts.size(); ++i) {
        if (!showsText[i])
            continue;
        if (facts[i].text && !facts[i].text->empty()) {
            facts[i].name = facts[i].text;
            facts[i].children.emplace();
        } else {
            empty.push_back(found[i].get());
            emptyAt.push_back(i);
        }
    }
    if (empty.empty())
        return;
    std::vector<AtspiFacts::Facts> more;
    AtspiFacts::read(empty, AtspiFacts::restLookOfEmptyText, limits, m_read->exchange, more);
    for (std::size_t j = 0; j < emptyAt.size(); ++j) {
        facts[emptyAt[j]].name = std::move(more[j].name);
        facts[emptyAt[j]].children = std::move(more[j].children);
    }
}

std::shared_ptr<AtspiElement> AtspiElement::element(Child child) const {
    auto out = std::make_shared<AtspiElement>(child.accessible.release(), roleName(), Shape::element, m_reach,
                                              m_read);
    // The application's children are the windows themselves.
    out->m_window = m_shape == Shape::application ? child.facts.extents : m_window;
    if (child.facts.text)
        out->m_content = std::move(child.facts.text);
    out->m_facts = std::move(child.facts);
    return out;
}

AXElementList AtspiElement::children() const {
    std::vector<std::shared_ptr<AtspiElement>> elements;
    for (Child& child : readChildren())
        elements.push_back(element(std::move(child)));
    readContents(elements);
    return {elements.begin(), elements.end()};
}

// The texts that siblings show are asked for together rather than one element at a time.
void AtspiElement::readContents(const std::vector<std::shared_ptr<AtspiElement>>& elements) const {
    std::vector<AtspiElement*> holders;
    std::vector<AtspiAccessible*> accessibles;
    for (const auto& element : elements) {
        const std::string& role = element->role().role;
        if (!element->m_content && element->facts().hasText &&
            (isTextContent(role) || isEditableText(role))) {
            holders.push_back(element.get());
            accessibles.push_back(element->m_accessible);
        }
    }
    std::vector<std::optional<std::string>> read =
        AtspiCalls::texts(m_read->exchange, accessibles, limits.textCharacters);
    for (std::size_t i = 0; i < holders.size(); ++i)
        holders[i]->m_content = std::move(read[i]);
}

const std::optional<std::string>& AtspiElement::content() const {
    if (!m_content)
        m_content =
            std::move(AtspiCalls::texts(m_read->exchange, {m_accessible}, limits.textCharacters).front());
    return *m_content;
}

bool AtspiElement::describesFieldsByPlaceholder() const {
    if (!m_read->describesFieldsByPlaceholder)
        m_read->describesFieldsByPlaceholder =
            AtspiCalls::toolkitName(m_read->exchange, m_read->application.get()) == "Qt";
    return *m_read->describesFieldsByPlaceholder;
}

bool AtspiElement::namesUnnamedByType() const {
    // The same toolkit: GTK 4.
    return marksNothingShowing();
}

std::vector<std::string> AtspiElement::labelTexts() const {
    const auto& listed = facts().children;
    if (!listed)
        return {};
    constexpr std::array<AtspiFacts::Question, 2> questions{AtspiFacts::Question::role,
                                                            AtspiFacts::Question::name};
    std::vector<AtspiFacts::Facts> asked;
    AtspiFacts::read(pointers(*listed), questions, limits, m_read->exchange, asked);
    std::vector<std::string> shown;
    for (const AtspiFacts::Facts& child : asked)
        if (child.roleName == "label" && child.name && !child.name->empty())
            shown.push_back(*child.name);
    return shown;
}

bool AtspiElement::nameIsTheToolkits(const std::string& name) const {
    if (!namesUnnamedByType())
        return false;
    const bool typeName = AtspiTexts::hasTypeNameForm(name);
    // A notebook's tabs are all named alike by the toolkit, in the desktop's language; their label
    // children show what the app wrote.
    const bool tab = roleName() == "page tab";
    if (!typeName && !tab)
        return false;
    const std::vector<std::string> labels = labelTexts();
    const bool labelled = std::find(labels.begin(), labels.end(), name) != labels.end();
    return typeName ? !labelled : !labelled && !labels.empty();
}

bool AtspiElement::marksNothingShowing() const {
    if (!m_read->marksNothingShowing) {
        const std::string version =
            AtspiCalls::toolkitVersion(m_read->exchange, m_read->application.get()).value_or("");
        int major = 0;
        std::from_chars(version.data(), version.data() + version.size(), major);
        m_read->marksNothingShowing =
            AtspiCalls::toolkitName(m_read->exchange, m_read->application.get()) == "GTK" && major >= 4;
    }
    return *m_read->marksNothingShowing;
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
        return AtspiCalls::name(m_read->exchange, m_accessible);
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
    if (published.name && !isTextContent(role) && nameIsTheToolkits(*published.name))
        published.name.reset();
    published.description = facts().description;
    published.nameIsContent = isTextContent(role);
    if (isEditableText(role)) {
        published.placeholder =
            AtspiCalls::objectAttribute(m_read->exchange, m_accessible, "placeholder-text");
        published.describedByPlaceholder = role == "AXTextField" && facts().hasText &&
                                           content().value_or("x").empty() && describesFieldsByPlaceholder();
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
        // GTK 4 answers a label's whole text as empty; its name is the text then.
        if (facts().hasText)
            if (const auto& text = content();
                text && (!text->empty() || !isTextContent(role) || !facts().name))
                return *text;
        // A label without a text interface shows its name.
        if (!isTextContent(role) || !facts().name)
            return std::nullopt;
        return *facts().name;
    }
    if (facts().hasValue)
        if (auto current = AtspiCalls::currentValue(m_read->exchange, m_accessible))
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
// the upper levels of the windows finds it, each level asked together.
std::optional<AXElementRef> AtspiElement::menuBar() const {
    constexpr std::array<AtspiFacts::Question, 1> role{AtspiFacts::Question::role};
    constexpr std::array<AtspiFacts::Question, 1> children{AtspiFacts::Question::children};
    std::vector<GObjectPtr<AtspiAccessible>> level = listedChildren();
    std::vector<std::string> parentRoles(level.size(), "application");
    int visited = 0;
    for (int depth = 1; depth <= menuBarSearchDepth && !level.empty() && visited < menuBarSearchNodes;
         ++depth) {
        level.resize(std::min<std::size_t>(level.size(), menuBarSearchNodes - visited));
        visited += static_cast<int>(level.size());
        std::vector<AtspiFacts::Facts> facts;
        AtspiFacts::read(pointers(level), role, limits, m_read->exchange, facts);
        for (std::size_t i = 0; i < level.size(); ++i)
            if (isMenuBar(facts[i].roleName))
                return std::make_shared<AtspiElement>(level[i].release(), parentRoles[i], Shape::element,
                                                      Reach::everything, m_read);
        if (depth == menuBarSearchDepth)
            break;
        // As in the window's read, a view's rows are not listed: no menu bar lies among them, and a long
        // view would cost the app seconds to list.
        std::vector<AtspiAccessible*> parents;
        std::vector<std::size_t> parentAt;
        for (std::size_t i = 0; i < level.size(); ++i)
            if (!isView(facts[i].roleName)) {
                parents.push_back(level[i].get());
                parentAt.push_back(i);
            }
        std::vector<AtspiFacts::Facts> listed;
        AtspiFacts::read(parents, children, limits, m_read->exchange, listed);
        std::vector<GObjectPtr<AtspiAccessible>> next;
        std::vector<std::string> nextParentRoles;
        for (std::size_t j = 0; j < listed.size() && j < parents.size(); ++j) {
            if (!listed[j].children)
                continue;
            for (auto& child : *listed[j].children) {
                next.push_back(std::move(child));
                nextParentRoles.push_back(facts[parentAt[j]].roleName);
            }
        }
        level = std::move(next);
        parentRoles = std::move(nextParentRoles);
    }
    return std::nullopt;
}

} // namespace orvel
