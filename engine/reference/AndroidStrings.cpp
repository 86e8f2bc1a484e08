#include "engine/reference/AndroidStrings.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/Unicode.h"
#include "engine/reference/BackslashEscapes.h"

namespace orvel::SoftwareFormats {
namespace {

bool isMarkedFalse(const Tree& element, std::string_view attribute) {
    const std::string* value = element.attribute(attribute);
    return value && *value == "false";
}

// The inner text when the whole text is enclosed in double quotes. The quotes must be characters of their
// own, not part of a combining sequence; only the scalar beside each quote can join it to another, so a
// few bytes at each end decide and a long value is not split into characters as a whole.
std::optional<std::string_view> quotedContent(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return std::nullopt;
    constexpr std::size_t window = 8; // the quote and at least one whole scalar beside it
    const std::string_view head = text.substr(0, std::min(text.size(), window));
    const std::string_view tail = text.substr(text.size() - std::min(text.size(), window));
    if (text::graphemes(head).front() != "\"" || text::graphemes(tail).back() != "\"")
        return std::nullopt;
    return text.substr(1, text.size() - 2);
}

std::string collapsedWhitespace(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool gap = false;
    std::size_t offset = 0;
    std::size_t before = 0;
    char32_t scalar;
    while (text::nextScalar(text, offset, scalar)) {
        if (text::isWhitespace(scalar)) {
            gap = true;
        } else {
            if (gap && !out.empty())
                out += ' ';
            gap = false;
            out.append(text.substr(before, offset - before));
        }
        before = offset;
    }
    return out;
}

std::vector<std::shared_ptr<const Tree>> items(const Tree& element) {
    std::vector<std::shared_ptr<const Tree>> out;
    for (auto& child : element.elements())
        if (child->name == "item")
            out.push_back(std::move(child));
    return out;
}

void addEntries(const Tree& element, KeyedTexts& result) {
    if (isMarkedFalse(element, "translatable") || isMarkedFalse(element, "translateable"))
        return;
    const std::string* name = element.attribute("name");
    if (!name)
        return;
    if (element.name == "string") {
        const std::string* product = element.attribute("product");
        result[product ? *name + ":" + *product : *name] = androidText(element);
    } else if (element.name == "plurals") {
        for (const auto& item : items(element)) {
            const std::string* quantity = item->attribute("quantity");
            result[*name + "#" + (quantity ? *quantity : std::string())] = androidText(*item);
        }
    } else if (element.name == "string-array" || element.name == "array") {
        const auto list = items(element);
        for (std::size_t i = 0; i < list.size(); ++i) {
            std::string value = androidText(*list[i]);
            // An item that refers to another resource has no text of its own.
            if (value.starts_with('@'))
                continue;
            result[*name + "[" + std::to_string(i) + "]"] = std::move(value);
        }
    }
}

} // namespace

KeyedTexts androidStrings(std::string_view bytes) {
    const auto root = tree(bytes);
    KeyedTexts result;
    const auto top = root->elements();
    if (top.empty())
        return result;
    for (const auto& element : top.front()->elements())
        addEntries(*element, result);
    return result;
}

std::string androidText(const Tree& element) {
    const std::string raw = element.text();
    const auto quoted = quotedContent(raw);
    return text::nfc(androidUnescaped(quoted ? std::string(*quoted) : collapsedWhitespace(raw)));
}

} // namespace orvel::SoftwareFormats
