#include <optional>
#include <utility>

#include "core/Characters.h"
#include "core/Unicode.h"
#include "engine/reference/MozillaStrings.h"
#include "engine/reference/TextLines.h"

namespace orvel::SoftwareFormats {
namespace {

bool isIdentifier(std::string_view id) {
    if (id.empty())
        return false;
    for (std::string_view character : text::graphemes(id))
        if (character != "-" && character != "_" && !text::isLetter(character) && !text::isDigit(character))
            return false;
    return true;
}

// A message or term begins in the first column with a letter or "-" and assigns with "=".
bool startsMessage(std::string_view line) {
    return (line.starts_with('-') || text::isLetter(line)) && line.find('=') != std::string_view::npos;
}

// The part before the first "=" and the part after it, both trimmed.
std::pair<std::string, std::string> splitAtEquals(std::string_view text) {
    const std::size_t equals = text.find('=');
    return {std::string(trimmedHorizontally(text.substr(0, equals))),
            std::string(trimmedHorizontally(text.substr(equals + 1)))};
}

} // namespace

// Placeables and select expressions are not interpreted: their lines join the value as text.
KeyedTexts fluentStrings(std::string_view text) {
    KeyedTexts result;
    std::optional<std::string> current;
    for (const std::string& line : lines(text)) {
        const std::string_view trimmed = trimmedHorizontally(line);
        if (trimmed.empty() || trimmed.front() == '#') {
            current.reset();
        } else if (startsMessage(line)) {
            auto [id, value] = splitAtEquals(line);
            if (!isIdentifier(id)) {
                current.reset();
                continue;
            }
            result[id] = std::move(value);
            current = std::move(id);
        } else if (trimmed.front() == '.' && trimmed.find('=') != std::string_view::npos && current) {
            auto [name, value] = splitAtEquals(trimmed.substr(1));
            // Attributes attach to their message, also when another attribute came before.
            std::string key = current->substr(0, current->find('.')) + "." + name;
            result[key] = std::move(value);
            current = std::move(key);
        } else if (current && (line.front() == ' ' || line.front() == '\t')) {
            // Stored values are already trimmed, so appending keeps the joined value trimmed.
            std::string& stored = result[*current];
            if (!stored.empty())
                stored += ' ';
            stored += trimmed;
        }
    }
    std::erase_if(result, [](const auto& entry) { return entry.second.empty(); });
    for (auto& [key, value] : result)
        value = text::nfc(value);
    return result;
}

} // namespace orvel::SoftwareFormats
