#include "engine/pipeline/VariableMasking.h"

#include "core/Numbers.h"
#include "core/Regex.h"
#include "core/RegexCache.h"

namespace orvel::VariableMasking {
namespace {

constexpr std::string_view tokenOpen = "⟦";
constexpr std::string_view tokenClose = "⟧";

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string token(std::size_t number) {
    return std::string(tokenOpen) + std::to_string(number) + std::string(tokenClose);
}

Masked maskVariables(std::string_view text) {
    Masked masked;
    const CompiledRegex pattern = RegexCache::regex(variablePattern);
    if (!pattern) {
        masked.text = std::string(text);
        return masked;
    }
    // Tokens are written while the text is copied, never through a stand-in character, so that a
    // character already in the text can never be taken for a variable's place.
    std::size_t copied = 0;
    for (const auto& match : regex::allMatches(*pattern, text)) {
        masked.text.append(text.substr(copied, match.range.start - copied));
        masked.variables.emplace_back(match.text(text));
        masked.text += token(masked.variables.size());
        copied = match.range.end;
    }
    masked.text.append(text.substr(copied));
    return masked;
}

std::string unmaskVariables(std::string_view answer, const std::vector<std::string>& variables) {
    if (variables.empty())
        return std::string(answer);
    std::string out;
    std::size_t copied = 0;
    std::size_t at = answer.find(tokenOpen);
    while (at != std::string_view::npos) {
        const std::size_t digitsStart = at + tokenOpen.size();
        std::size_t digitsEnd = digitsStart;
        while (digitsEnd < answer.size() && isAsciiDigit(answer[digitsEnd]))
            ++digitsEnd;
        const std::string_view digits = answer.substr(digitsStart, digitsEnd - digitsStart);
        const auto number = parseNumber<std::size_t>(digits);
        // Only the exact spelling of a token counts: "⟦01⟧" is not token 1.
        const bool isToken = number && *number >= 1 && *number <= variables.size() &&
                             std::to_string(*number) == digits &&
                             answer.substr(digitsEnd).starts_with(tokenClose);
        if (isToken) {
            out.append(answer.substr(copied, at - copied));
            out += variables[*number - 1];
            copied = digitsEnd + tokenClose.size();
            at = answer.find(tokenOpen, copied);
        } else {
            at = answer.find(tokenOpen, digitsStart);
        }
    }
    out.append(answer.substr(copied));
    return out;
}

} // namespace orvel::VariableMasking
