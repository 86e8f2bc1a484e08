#include "core/Unicode.h"
#include "engine/reference/BackslashEscapes.h"
#include "engine/reference/MozillaStrings.h"
#include "engine/reference/TextLines.h"

namespace orvel::SoftwareFormats {
namespace {

// A line continues on the next when it ends in a backslash that is not itself escaped.
bool continues(std::string_view line) {
    return line.ends_with('\\') && !line.ends_with("\\\\");
}

} // namespace

KeyedTexts propertiesStrings(std::string_view text) {
    const auto all = lines(text);
    KeyedTexts result;
    for (std::size_t index = 0; index < all.size(); ++index) {
        std::string line(droppingLeadingSpacesAndTabs(all[index]));
        if (line.empty() || line.front() == '#' || line.front() == '!')
            continue;
        while (continues(line) && index + 1 < all.size()) {
            line.pop_back();
            line += droppingLeadingSpacesAndTabs(all[++index]);
        }
        const std::size_t separator = line.find_first_of("=:");
        if (separator == std::string::npos)
            continue;
        const std::string_view key = trimmedHorizontally(std::string_view(line).substr(0, separator));
        if (key.empty() || key.find(' ') != std::string_view::npos)
            continue;
        const std::string_view value =
            droppingLeadingSpacesAndTabs(std::string_view(line).substr(separator + 1));
        result[std::string(key)] = text::nfc(androidUnescaped(value));
    }
    return result;
}

} // namespace orvel::SoftwareFormats
