#include "core/TextSplitting.h"

#include "core/Unicode.h"

namespace orvel::text {

std::vector<std::string> splitAt(std::string_view text,
                                 const std::function<bool(std::string_view)>& isSeparator) {
    std::vector<std::string> pieces(1);
    for (std::string_view character : graphemes(text)) {
        if (isSeparator(character))
            pieces.emplace_back();
        else
            pieces.back().append(character);
    }
    return pieces;
}

std::vector<std::string> runsOf(std::string_view text, const std::function<bool(std::string_view)>& isPart) {
    auto pieces = splitAt(text, [&isPart](std::string_view character) { return !isPart(character); });
    std::erase_if(pieces, [](const std::string& piece) { return piece.empty(); });
    return pieces;
}

std::vector<std::string> wordsBetweenSpaces(std::string_view text) {
    return runsOf(text, [](std::string_view character) { return character != " "; });
}

} // namespace orvel::text
