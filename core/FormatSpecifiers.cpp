#include "core/FormatSpecifiers.h"

#include <algorithm>

#include "core/Hash.h"
#include "core/Numbers.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

constexpr std::string_view specifierPattern =
    R"(%(?:(\d+)\$)?(#@[^@]+@|[-+0#]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(hh|h|ll|l|q|L|z|t|j)?([@dDiuUxXoOfFeEgGcCsSpaA])))";

const icu::RegexPattern& pattern() {
    static const CompiledRegex compiled = RegexCache::regex(specifierPattern);
    return *compiled;
}

// Only ASCII digits that fit a 64-bit integer make a position.
std::optional<std::int64_t> readPosition(std::optional<std::string_view> digits) {
    return digits ? parseNumber<std::int64_t>(*digits) : std::nullopt;
}

bool endsWithIntegerConversion(std::string_view type) {
    return !type.empty() && std::string_view("diuxXo").find(type.back()) != std::string_view::npos;
}

std::optional<std::size_t> countPlaceholderIndex(const std::vector<FormatSpecifier>& specifiers) {
    for (std::size_t i = 0; i < specifiers.size(); ++i)
        if (specifiers[i].isWholeNumber())
            return i;
    return std::nullopt;
}

} // namespace

bool FormatSpecifier::isWholeNumber() const {
    return endsWithIntegerConversion(type);
}

namespace FormatSpecifiers {

std::vector<FormatSpecifier> parse(std::string_view text) {
    std::vector<FormatSpecifier> result;
    if (text.find('%') == std::string_view::npos)
        return result;
    // A "%" counts only as a character of its own: one carrying a combining mark is not a "%".
    const auto characters = text::graphemes(text);
    auto offsetOf = [&](std::size_t i) {
        return static_cast<std::size_t>(characters[i].data() - text.data());
    };
    std::size_t i = 0;
    while (i < characters.size()) {
        if (characters[i] != "%") {
            ++i;
            continue;
        }
        if (i + 1 < characters.size() && characters[i + 1] == "%") {
            i += 2;
            continue;
        }
        const std::size_t at = offsetOf(i);
        auto match = regex::matchAt(pattern(), text, at);
        if (!match) {
            ++i;
            continue;
        }
        FormatSpecifier specifier;
        specifier.raw = std::string(match->text(text));
        specifier.position = readPosition(match->group(text, 1));
        const std::string_view body = match->group(text, 2).value_or("");
        if (body.starts_with("#@"))
            specifier.type = std::string(body);
        else
            specifier.type = std::string(match->group(text, 3).value_or("")) +
                             std::string(match->group(text, 4).value_or(""));
        specifier.range = match->range;
        result.push_back(std::move(specifier));
        // Continue with the first character that starts at or after the end of the match.
        while (i < characters.size() && offsetOf(i) < match->range.end)
            ++i;
    }
    return result;
}

std::string typeClass(std::string_view type) {
    if (type.empty())
        return {};
    switch (type.back()) {
    case 'd':
    case 'i':
    case 'D':
        return "int";
    case 'u':
    case 'U':
        return "uint";
    case 'x':
    case 'X':
    case 'o':
    case 'O':
        return std::string("hex") + type.back();
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return "float";
    default:
        return std::string(type);
    }
}

std::vector<std::string> signature(std::string_view text) {
    std::vector<std::string> classes;
    for (const auto& specifier : parse(text))
        classes.push_back(typeClass(specifier.type));
    std::sort(classes.begin(), classes.end());
    return classes;
}

std::optional<std::int64_t> countArgument(std::string_view text) {
    const auto specifiers = parse(text);
    const auto index = countPlaceholderIndex(specifiers);
    if (!index)
        return std::nullopt;
    if (specifiers[*index].position)
        return specifiers[*index].position;
    return static_cast<std::int64_t>(*index + 1);
}

std::optional<std::string> countValueType(std::string_view text) {
    const auto specifiers = parse(text);
    const auto index = countPlaceholderIndex(specifiers);
    if (!index)
        return std::nullopt;
    return specifiers[*index].type;
}

} // namespace FormatSpecifiers
} // namespace orvel

std::size_t std::hash<orvel::FormatSpecifier>::operator()(const orvel::FormatSpecifier& s) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, s.raw);
    orvel::hashCombine(seed, s.position.has_value());
    orvel::hashCombine(seed, s.position.value_or(0));
    orvel::hashCombine(seed, s.type);
    orvel::hashCombine(seed, s.range.start);
    orvel::hashCombine(seed, s.range.end);
    return seed;
}
