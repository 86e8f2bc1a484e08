#include "core/TextPrefix.h"

#include "core/Unicode.h"

namespace orvel::text {

std::string firstCharacters(std::string_view text, std::size_t count) {
    if (count == 0)
        return {};
    const auto characters = graphemes(text);
    if (characters.size() <= count)
        return std::string(text);
    const auto& last = characters[count - 1];
    return std::string(text.substr(0, static_cast<std::size_t>(last.data() + last.size() - text.data())));
}

} // namespace orvel::text
