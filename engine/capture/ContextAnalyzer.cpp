#include "engine/capture/ContextAnalyzer.h"

#include <algorithm>

#include "core/Markers.h"
#include "core/TextPieces.h"

namespace orvel::ContextAnalyzer {
namespace {

// The same text seen again at the same place (another window of one screen, a second text of one
// element) is one occurrence; the frame and the time do not make it another.
void addOnce(std::vector<Occurrence>& list, Occurrence occurrence) {
    const bool known = std::ranges::any_of(list, [&](const Occurrence& other) {
        return other.screen == occurrence.screen && other.section == occurrence.section &&
               other.role == occurrence.role && other.row == occurrence.row;
    });
    if (!known)
        list.push_back(std::move(occurrence));
}

bool hasSubmenu(const AXNode& node) {
    return std::ranges::any_of(node.children, [](const AXNode& child) { return child.role == "AXMenu"; });
}

void walkMenu(const AXNode& node, std::vector<std::string>& path, const Tables& tables, Date captured,
              Occurrences& out) {
    const bool barItem = node.role == "AXMenuBarItem";
    const bool opensMenu = barItem || (node.role == "AXMenuItem" && hasSubmenu(node));
    const std::string title = node.title.value_or("");
    if (node.role == "AXMenuItem" || barItem) {
        const std::string screen = text::joined(path, " > ");
        const std::string role = barItem ? "menu bar title" : opensMenu ? "submenu title" : "menu item";
        for (std::string& id : ids(title, tables))
            out[std::move(id)].push_back(Occurrence{.screen = screen, .role = role, .captured = captured});
    }
    if (opensMenu)
        path.push_back(displayText(title, tables));
    for (const AXNode& child : node.children)
        walkMenu(child, path, tables, captured, out);
    if (opensMenu)
        path.pop_back();
}

Occurrence occurrenceOf(const Leaf& leaf, TextKind kind, const std::string& screen,
                        const std::vector<Leaf>& leaves, const Tables& tables, Date captured) {
    const AXNode& node = *leaf.node;
    Occurrence out;
    out.screen = screen;
    if (node.role != "AXHeading")
        out.section = section(leaf, leaves, tables);
    out.role = leaf.inList && kind != TextKind::help ? "sidebar or list item" : roleDescription(node, kind);
    out.row = row(leaf, leaves, tables);
    out.frame = node.frame;
    out.captured = captured;
    return out;
}

} // namespace

Occurrences menuOccurrences(const AXNode& menuBar, const Tables& tables, Date captured) {
    Occurrences out;
    std::vector<std::string> path{"Menu bar"};
    walkMenu(menuBar, path, tables, captured, out);
    return out;
}

Occurrences analyze(const AXReader::WindowList& windows, const std::optional<AXNode>& menuBar,
                    const std::string& appName, const Tables& tables, Date captured) {
    Occurrences out;
    for (const auto& [title, tree] : windows) {
        std::string screen = displayText(title, tables);
        if (screen.empty())
            screen = appName;
        const std::vector<Leaf> windowLeaves = leaves(tree);
        for (const Leaf& leaf : windowLeaves) {
            for (const Text& text : texts(*leaf.node)) {
                std::vector<std::string> found = ids(text.text, tables);
                if (found.empty())
                    continue;
                // Section and row cost a pass over the window each: worth it only for a text that names a
                // string.
                const Occurrence occurrence =
                    occurrenceOf(leaf, text.kind, screen, windowLeaves, tables, captured);
                for (std::string& id : found)
                    addOnce(out[std::move(id)], occurrence);
            }
        }
    }
    if (menuBar)
        for (auto& [id, list] : menuOccurrences(*menuBar, tables, captured))
            for (Occurrence& occurrence : list)
                addOnce(out[id], std::move(occurrence));
    return out;
}

UnkeyedTexts unkeyedTexts(const AXReader::WindowList& windows, const TextIndex& index,
                          const std::string& appName) {
    UnkeyedTexts out;
    for (const auto& [title, tree] : windows) {
        std::string name = Markers::clean(title);
        if (name.empty())
            name = appName;
        for (const Leaf& leaf : leaves(tree)) {
            const AXNode& node = *leaf.node;
            if (isOneOf(node.role, inputRoles))
                continue;
            for (const Text& shown : texts(node)) {
                if (shown.kind == TextKind::value && node.role != "AXStaticText")
                    continue;
                const Markers::Stripped stripped = Markers::strip(shown.text);
                const std::string text(text::trimmed(stripped.text));
                if (!stripped.ids.empty() || index.contains(text) || !isReadable(text) || text == appName)
                    continue;
                std::vector<std::string>& list = out[name];
                if (std::ranges::find(list, text) == list.end())
                    list.push_back(text);
            }
        }
    }
    return out;
}

} // namespace orvel::ContextAnalyzer
