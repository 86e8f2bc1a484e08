#include "core/TextPieces.h"

#include "core/Unicode.h"

namespace orvel::text {

std::string trimmed(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    std::size_t offset = 0;
    char32_t scalar = 0;
    while (offset < text.size()) {
        const std::size_t start = offset;
        if (!nextScalar(text, offset, scalar))
            break;
        if (!isWhitespace(scalar)) {
            if (begin == text.size())
                begin = start;
            end = offset;
        }
    }
    return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

std::string joined(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            out += separator;
        out += pieces[i];
    }
    return out;
}

} // namespace orvel::text
