#include "engine/capture/AXNode.h"

#include <algorithm>
#include <cmath>

#include "engine/capture/AXReader.h"

namespace orvel {

namespace {

AXNode decodeNode(const json::Json& value, int depth) {
    AXNode out;
    out.role = json::required<std::string>(value, "role");
    out.subrole = json::optional<std::string>(value, "subrole");
    out.title = json::optional<std::string>(value, "title");
    out.label = json::optional<std::string>(value, "label");
    out.value = json::optional<std::string>(value, "value");
    out.help = json::optional<std::string>(value, "help");
    out.placeholder = json::optional<std::string>(value, "placeholder");
    out.frame = json::optional<std::vector<double>>(value, "frame");
    if (out.frame && (out.frame->size() != 4 ||
                      !std::ranges::all_of(*out.frame, [](double number) { return std::isfinite(number); })))
        throw json::DecodingError("A frame must hold exactly four finite numbers.", "frame");

    auto children = value.find("children");
    if (children == value.end() || children->is_null())
        throw json::DecodingError("No value associated with key \"children\".", "children");
    if (!children->is_array())
        json::typeMismatch("Array", *children);
    if (!children->empty() && depth >= AXReader::maxDepth)
        throw json::DecodingError("The element tree is nested too deeply.", "children");
    out.children.reserve(children->size());
    for (std::size_t i = 0; i < children->size(); ++i) {
        try {
            out.children.push_back(decodeNode((*children)[i], depth + 1));
        } catch (const json::DecodingError& error) {
            json::rethrowWithPath(error, "children[" + std::to_string(i) + "]");
        }
    }
    return out;
}

} // namespace

AXNode AXNode::fromJson(const json::Json& value) {
    return decodeNode(value, 0);
}

json::Json AXNode::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "role", role);
    json::set(out, "subrole", subrole);
    json::set(out, "title", title);
    json::set(out, "label", label);
    json::set(out, "value", value);
    json::set(out, "help", help);
    json::set(out, "placeholder", placeholder);
    json::set(out, "frame", frame);
    json::set(out, "children", children);
    return out;
}

} // namespace orvel
