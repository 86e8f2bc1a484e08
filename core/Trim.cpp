#include "core/Trim.h"

#include "core/Unicode.h"

namespace orvel::text {

std::string_view trimmed(std::string_view text) {
    std::size_t start = text.size();
    std::size_t end = 0;
    std::size_t offset = 0;
    char32_t scalar;
    while (true) {
        const std::size_t before = offset;
        if (!nextScalar(text, offset, scalar))
            break;
        if (isWhitespace(scalar))
            continue;
        if (start == text.size())
            start = before;
        end = offset;
    }
    return start < end ? text.substr(start, end - start) : std::string_view();
}

} // namespace orvel::text
