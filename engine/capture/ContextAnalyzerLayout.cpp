// Where an element stands in its window: its pane, the heading above it, its kind, its line.

#include <algorithm>
#include <limits>

#include "core/TextPrefix.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"
#include "engine/capture/ContextAnalyzer.h"

namespace orvel::ContextAnalyzer {
namespace {

std::optional<Rect> rect(const std::optional<std::vector<double>>& frame) {
    if (!frame || frame->size() != 4)
        return std::nullopt;
    return Rect{(*frame)[0], (*frame)[1], (*frame)[2], (*frame)[3]};
}

void collectLeaves(const AXNode& node, int pane, bool inList, int& panes, std::vector<Leaf>& out) {
    inList = inList || isOneOf(node.role, listRoles);
    if (isOneOf(node.role, paneRoles))
        pane = ++panes;
    if (isOneOf(node.role, leafRoles) || !texts(node).empty())
        out.push_back(Leaf{.node = &node,
                           .pane = pane,
                           .order = static_cast<int>(out.size()),
                           .frame = rect(node.frame),
                           .inList = inList});
    for (const AXNode& child : node.children)
        collectLeaves(child, pane, inList, panes, out);
}

// A heading without a frame lies infinitely low, below every text.
double bottom(const Leaf& leaf) {
    return leaf.frame ? leaf.frame->maxY() : std::numeric_limits<double>::infinity();
}

std::string headingText(const AXNode& node) {
    if (node.title)
        return *node.title;
    if (node.value)
        return *node.value;
    return node.label.value_or("");
}

bool sharesLine(const Rect& mate, const Rect& own) {
    if (!(mate.height > 0 && mate.height < maxRowHeight))
        return false;
    const double overlap = std::min(mate.maxY(), own.maxY()) - std::max(mate.minY(), own.minY());
    return overlap >= 0.5 * std::min(mate.height, own.height);
}

} // namespace

std::vector<Leaf> leaves(const AXNode& root) {
    std::vector<Leaf> out;
    int panes = 0;
    collectLeaves(root, 0, false, panes, out);
    return out;
}

std::optional<std::string> section(const Leaf& leaf, const std::vector<Leaf>& leaves, const Tables& tables) {
    if (!leaf.frame)
        return std::nullopt;
    const Leaf* best = nullptr;
    for (const Leaf& candidate : leaves) {
        if (candidate.pane != leaf.pane || candidate.node->role != "AXHeading")
            continue;
        // A heading that reaches a point into the text still stands above it.
        if (!(bottom(candidate) <= leaf.frame->minY() + 1.0))
            continue;
        if (!best || bottom(candidate) > bottom(*best))
            best = &candidate;
    }
    if (!best)
        return std::nullopt;
    std::string text = displayText(headingText(*best->node), tables);
    if (text.empty())
        return std::nullopt;
    return text;
}

std::string roleWords(const AXNode& node) {
    const std::string& role = node.role;
    if (role == "AXButton")
        return node.subrole == "AXToggle" ? "toggle button" : "button";
    if (role == "AXCheckBox")
        return node.subrole == "AXSwitch" ? "toggle" : "checkbox";
    if (role == "AXRadioButton")
        return node.subrole == "AXTabButton" ? "tab" : "radio button";
    static const std::map<std::string, std::string, std::less<>> words{
        {"AXPopUpButton", "pop-up menu"},
        {"AXMenuButton", "menu button"},
        {"AXComboBox", "combo box"},
        {"AXTextField", "text field"},
        {"AXSearchField", "text field"},
        {"AXTextArea", "text area"},
        {"AXSlider", "slider"},
        {"AXIncrementor", "stepper"},
        {"AXStaticText", "text"},
        {"AXHeading", "heading"},
        {"AXLink", "link"},
        {"AXImage", "image"},
        {"AXSegmentedControl", "segmented control"},
        {"AXMenuItem", "menu item"},
        {"AXMenuBarItem", "menu"},
        {"AXCell", "list row"},
        {"AXRow", "list row"},
    };
    if (auto it = words.find(role); it != words.end())
        return it->second;
    return text::lowercased(text::replacingAll(role, "AX", ""));
}

std::string roleDescription(const AXNode& node, TextKind kind) {
    switch (kind) {
    case TextKind::help:
        return "tooltip " + roleWords(node);
    case TextKind::placeholder:
        return "placeholder of " + roleWords(node);
    case TextKind::value:
        if (node.role == "AXPopUpButton")
            return "selected item of pop-up menu";
        break;
    case TextKind::title:
    case TextKind::label:
        break;
    }
    return roleWords(node);
}

std::string describe(const AXNode& node, bool marked, const Tables& tables) {
    std::string text;
    if (node.title)
        text = *node.title;
    else if (node.label)
        text = *node.label;
    else if (node.role == "AXStaticText" && node.value)
        text = *node.value;
    text = displayText(text, tables);
    if (text.empty())
        return roleWords(node);
    // No text has more characters than bytes, so most texts need no counting.
    if (text.size() > maxDescribedCharacters && text::graphemeCount(text) > maxDescribedCharacters)
        text = text::firstCharacters(text, maxDescribedCharacters - 3) + "…";
    if (marked)
        return roleWords(node) + " «" + text + "»";
    return roleWords(node) + " \"" + text + "\"";
}

std::vector<std::string> row(const Leaf& leaf, const std::vector<Leaf>& leaves, const Tables& tables) {
    const std::string own = describe(*leaf.node, true, tables);
    if (!leaf.frame || !(leaf.frame->height > 0))
        return {own};
    std::vector<const Leaf*> mates;
    for (const Leaf& mate : leaves)
        if (mate.pane == leaf.pane && mate.frame && sharesLine(*mate.frame, *leaf.frame))
            mates.push_back(&mate);
    // Leaves are in order already, so a stable sort by the left edge breaks ties by order.
    std::ranges::stable_sort(mates, std::less<>(), [](const Leaf* mate) { return mate->frame->x; });
    if (mates.size() > maxRowItems)
        mates.resize(maxRowItems);

    const std::string ownPlain = text::replacingAll(text::replacingAll(own, "«", "\""), "»", "\"");
    std::vector<std::string> out;
    for (const Leaf* mate : mates) {
        std::string item;
        if (mate->order == leaf.order) {
            item = own;
        } else {
            item = describe(*mate->node, false, tables);
            if (item == ownPlain)
                continue;
        }
        if (out.empty() || out.back() != item)
            out.push_back(std::move(item));
    }
    return out;
}

} // namespace orvel::ContextAnalyzer
