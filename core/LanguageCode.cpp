#include "core/LanguageCode.h"

#include <cstddef>

namespace orvel {
namespace {

constexpr std::size_t maximumLength = 64;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isPlausibleLanguageCode(std::string_view code) {
    if (code.empty() || code.size() > maximumLength || !isAsciiLetter(code.front()))
        return false;
    std::size_t i = 0;
    while (i < code.size() && isAsciiLetter(code[i]))
        ++i;
    while (i < code.size()) {
        if (code[i] != '-' && code[i] != '_')
            return false;
        const std::size_t subtag = ++i;
        while (i < code.size() && (isAsciiLetter(code[i]) || isAsciiDigit(code[i])))
            ++i;
        if (i == subtag)
            return false;
    }
    return true;
}

} // namespace orvel
