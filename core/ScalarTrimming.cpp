#include "core/ScalarTrimming.h"

#include "core/Unicode.h"

namespace orvel::text {

std::string_view trimmedScalars(std::string_view text, const std::function<bool(char32_t)>& isTrimmed) {
    std::size_t start = text.size();
    std::size_t end = 0;
    std::size_t offset = 0;
    char32_t scalar;
    while (true) {
        const std::size_t before = offset;
        if (!nextScalar(text, offset, scalar))
            break;
        if (isTrimmed(scalar))
            continue;
        if (start == text.size())
            start = before;
        end = offset;
    }
    return start < end ? text.substr(start, end - start) : std::string_view();
}

bool isInlineWhitespace(char32_t scalar) {
    switch (scalar) {
    case U'\n':
    case U'\v':
    case U'\f':
    case U'\r':
    case U'\u0085':
    case U'\u2028':
    case U'\u2029':
        return false;
    default:
        return isWhitespace(scalar);
    }
}

} // namespace orvel::text
