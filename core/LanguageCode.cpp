#include "core/LanguageCode.h"

#include <cstddef>

namespace orvel {
namespace {

constexpr std::size_t maxSubtag = 8;
constexpr std::size_t maxCode = 64;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isPlausibleLanguageCode(std::string_view code) {
    if (code.empty() || code.size() > maxCode)
        return false;
    bool first = true;
    for (;;) {
        const auto separator = code.find_first_of("-_");
        const std::string_view subtag = code.substr(0, separator);
        if (subtag.empty() || subtag.size() > maxSubtag)
            return false;
        for (const char c : subtag)
            if (!isAsciiLetter(c) && !(isAsciiDigit(c) && !first))
                return false;
        if (separator == std::string_view::npos)
            return true;
        code.remove_prefix(separator + 1);
        first = false;
    }
}

} // namespace orvel
