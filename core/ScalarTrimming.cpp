#include "core/ScalarTrimming.h"

#include <unicode/utf8.h>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

bool isAscii(char byte) {
    return static_cast<unsigned char>(byte) < 0x80;
}

// The offset of the first scalar, from `offset` on, that is kept.
std::size_t firstKept(std::string_view text, std::size_t offset,
                      const std::function<bool(char32_t)>& isTrimmed) {
    while (offset < text.size()) {
        if (isAscii(text[offset])) {
            if (!isTrimmed(static_cast<char32_t>(text[offset])))
                return offset;
            ++offset;
            continue;
        }
        const std::size_t before = offset;
        char32_t scalar;
        nextScalar(text, offset, scalar);
        if (!isTrimmed(scalar))
            return before;
    }
    return offset;
}

// The text up to the end of its last kept scalar, read forwards.
std::string_view trimmedForwards(std::string_view text, const std::function<bool(char32_t)>& isTrimmed) {
    std::size_t end = 0;
    std::size_t offset = 0;
    char32_t scalar;
    while (nextScalar(text, offset, scalar))
        if (!isTrimmed(scalar))
            end = offset;
    return text.substr(0, end);
}

} // namespace

std::string_view trimmedScalars(std::string_view text, const std::function<bool(char32_t)>& isTrimmed) {
    const std::size_t start = firstKept(text, 0, isTrimmed);
    if (start == text.size())
        return {};
    // Scalars are read backwards from the end; only the trimmed run at the end is visited.
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    std::size_t end = text.size();
    while (end > start) {
        if (isAscii(text[end - 1])) {
            if (!isTrimmed(static_cast<char32_t>(text[end - 1])))
                break;
            --end;
            continue;
        }
        auto before = static_cast<int32_t>(end);
        UChar32 scalar;
        U8_PREV(bytes, static_cast<int32_t>(start), before, scalar);
        // Ill-formed bytes read backwards may group differently than read forwards; forwards is the rule.
        if (scalar < 0)
            return trimmedForwards(text.substr(start, end - start), isTrimmed);
        if (!isTrimmed(static_cast<char32_t>(scalar)))
            break;
        end = static_cast<std::size_t>(before);
    }
    return text.substr(start, end - start);
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
