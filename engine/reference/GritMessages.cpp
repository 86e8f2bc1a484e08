#include "engine/reference/GritMessages.h"

#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/reference/GritMessageId.h"

namespace orvel::SoftwareFormats {
namespace {

enum class Placeholders { bareName, bracedName };

std::string_view trimmedControlsAndSpace(std::string_view text) {
    constexpr std::string_view set = " \t\n\r\f\v";
    const auto start = text.find_first_not_of(set);
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(set) - start + 1);
}

// A message's content as one line: placeholders by their names, other markup by its text, and the
// triple apostrophes that protect outer white space removed.
std::string presentation(const Tree& element, Placeholders placeholders) {
    std::string joined;
    for (const auto& piece : element.children) {
        if (const auto* text = std::get_if<std::string>(&piece)) {
            joined += *text;
            continue;
        }
        const Tree& child = *std::get<std::shared_ptr<const Tree>>(piece);
        if (child.name != "ph") {
            joined += child.text();
            continue;
        }
        const std::string* name = child.attribute("name");
        const std::string upper = name ? text::uppercased(*name) : std::string();
        joined += placeholders == Placeholders::bareName ? upper : "{" + upper + "}";
    }
    std::string_view content = text::trimmed(joined);
    if (content.starts_with("'''"))
        content.remove_prefix(3);
    if (content.ends_with("'''"))
        content.remove_suffix(3);
    return std::string(trimmedControlsAndSpace(content));
}

} // namespace

std::map<std::string, GritMessage, std::less<>> gritMessages(const Tree& root) {
    std::map<std::string, GritMessage, std::less<>> result;
    for (const auto& message : elements("message", root.elements())) {
        const std::string* translateable = message->attribute("translateable");
        if (translateable && *translateable == "false")
            continue;
        const std::string* name = message->attribute("name");
        if (!name)
            continue;
        const std::string* useName = message->attribute("use_name_for_id");
        std::string id;
        if (useName && *useName == "true") {
            id = *name;
        } else {
            const std::string* meaning = message->attribute("meaning");
            id = messageID(presentation(*message, Placeholders::bareName), meaning ? *meaning : "");
        }
        result[id] = GritMessage{*name, text::nfc(presentation(*message, Placeholders::bracedName))};
    }
    return result;
}

std::map<std::string, std::string, std::less<>> xtbTranslations(std::string_view bytes) {
    const auto root = tree(bytes);
    std::map<std::string, std::string, std::less<>> result;
    for (const auto& translation : elements("translation", root->elements()))
        if (const std::string* id = translation->attribute("id"))
            result[*id] = text::nfc(presentation(*translation, Placeholders::bracedName));
    return result;
}

} // namespace orvel::SoftwareFormats
