#include "engine/reference/Accelerators.h"

#include "core/Regex.h"
#include "core/Unicode.h"

namespace orvel::SoftwareFormats {
namespace {

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isParenthesisedMark(std::string_view text, std::size_t at) {
    return at + 4 <= text.size() && text[at] == '(' &&
           (text[at + 1] == '&' || text[at + 1] == '~' || text[at + 1] == '_') &&
           isAsciiLetterOrDigit(text[at + 2]) && text[at + 3] == ')';
}

// Every mark such as "(&F)" removed with the white space before it. Written as a scan rather than an
// expression because an expression that starts with optional white space tries again from every
// position inside a long run of it.
std::string withoutParenthesisedMarks(std::string_view text) {
    if (text.find('(') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t whitespaceStart = std::string::npos; // in `out`, where the white space before here began
    std::size_t offset = 0;
    while (offset < text.size()) {
        if (isParenthesisedMark(text, offset)) {
            if (whitespaceStart != std::string::npos)
                out.resize(whitespaceStart);
            whitespaceStart = std::string::npos;
            offset += 4;
            continue;
        }
        const std::size_t before = offset;
        char32_t scalar;
        text::nextScalar(text, offset, scalar);
        if (!text::isWhitespace(scalar))
            whitespaceStart = std::string::npos;
        else if (whitespaceStart == std::string::npos)
            whitespaceStart = out.size();
        out.append(text.substr(before, offset - before));
    }
    return out;
}

// The text without the pattern's matches, when it holds the trigger and the pattern compiles.
std::string removing(std::string text, char trigger, std::string_view pattern) {
    if (text.find(trigger) == std::string::npos)
        return text;
    const auto compiled = RegexCache::regex(pattern);
    return compiled ? regex::replaceAll(*compiled, text, "") : text;
}

} // namespace

std::string strippingAmpersands(std::string_view source) {
    const std::string text = withoutParenthesisedMarks(source);
    if (text.find('&') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    char32_t scalar;
    while (text::nextScalar(text, offset, scalar)) {
        if (scalar != U'&') {
            text::appendScalar(out, scalar);
            continue;
        }
        std::size_t next = offset;
        char32_t following;
        if (!text::nextScalar(text, next, following)) {
            out += '&';
        } else if (following == U'&') {
            out += '&';
            offset = next;
        } else if (following == U';' || text::isWhitespace(following)) {
            out += '&';
        }
    }
    return out;
}

std::string strippingAccelerators(std::string_view source) {
    std::string text = withoutParenthesisedMarks(source);
    text = removing(std::move(text), '~', R"(~(?=\S))");
    return removing(std::move(text), '_', R"((?<!_)_(?=[^\W_]))");
}

} // namespace orvel::SoftwareFormats
