#include "engine/reference/XmlTree.h"

namespace orvel::SoftwareFormats {
namespace {

void appendText(const Tree& tree, std::string& out) {
    for (const auto& piece : tree.children) {
        if (const auto* text = std::get_if<std::string>(&piece))
            out += *text;
        else
            appendText(*std::get<std::shared_ptr<const Tree>>(piece), out);
    }
}

void collect(std::string_view name, const std::shared_ptr<const Tree>& tree, Trees& out) {
    if (tree->name == name)
        out.push_back(tree);
    for (const auto& piece : tree->children)
        if (const auto* element = std::get_if<std::shared_ptr<const Tree>>(&piece))
            collect(name, *element, out);
}

} // namespace

Tree::Builder::Builder() : m_root(std::make_shared<Tree>()), m_stack{m_root.get()} {}

void Tree::Builder::didStartElement(std::string name,
                                    std::map<std::string, std::string, std::less<>> attributes) {
    auto element = std::make_shared<Tree>();
    element->name = std::move(name);
    element->attributes = std::move(attributes);
    Tree* raw = element.get();
    m_stack.back()->children.emplace_back(std::shared_ptr<const Tree>(std::move(element)));
    m_stack.push_back(raw);
}

void Tree::Builder::didEndElement() {
    if (m_stack.size() >= 2)
        m_stack.pop_back();
}

void Tree::Builder::foundCharacters(std::string_view characters) {
    auto& children = m_stack.back()->children;
    if (!children.empty())
        if (auto* last = std::get_if<std::string>(&children.back())) {
            last->append(characters);
            return;
        }
    children.emplace_back(std::string(characters));
}

std::vector<std::shared_ptr<const Tree>> Tree::elements() const {
    std::vector<std::shared_ptr<const Tree>> out;
    for (const auto& piece : children)
        if (const auto* element = std::get_if<std::shared_ptr<const Tree>>(&piece))
            out.push_back(*element);
    return out;
}

std::string Tree::text() const {
    std::string out;
    appendText(*this, out);
    return out;
}

const std::string* Tree::attribute(std::string_view key) const {
    const auto it = attributes.find(key);
    return it == attributes.end() ? nullptr : &it->second;
}

Trees elements(std::string_view name, const Trees& trees) {
    Trees out;
    for (const auto& tree : trees)
        collect(name, tree, out);
    return out;
}

} // namespace orvel::SoftwareFormats
