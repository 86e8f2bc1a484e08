#include "engine/reference/BackslashEscapes.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

#include "core/Unicode.h"

namespace orvel::SoftwareFormats {
namespace {

bool isSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}

// The four hexadecimal digits after "\u" at `at`, when they are there.
std::optional<char32_t> unicodeEscape(std::string_view text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u')
        return std::nullopt;
    const char* first = text.data() + at + 2;
    const char* last = first + 4;
    for (const char* c = first; c != last; ++c)
        if (!std::isxdigit(static_cast<unsigned char>(*c)))
            return std::nullopt;
    std::uint32_t value = 0;
    std::from_chars(first, last, value, 16);
    return static_cast<char32_t>(value);
}

const char32_t* lookup(const EscapeTable& table, char32_t escaped) {
    const auto it = table.find(escaped);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

const EscapeTable& escapeTable() {
    static const EscapeTable table{{U'n', U'\n'}, {U't', U'\t'}};
    return table;
}

std::string unescaped(std::string_view text, const EscapeTable& table) {
    if (text.find('\\') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    bool pending = false;
    std::size_t offset = 0;
    char32_t scalar;
    while (text::nextScalar(text, offset, scalar)) {
        if (pending) {
            const char32_t* mapped = lookup(table, scalar);
            text::appendScalar(out, mapped ? *mapped : scalar);
            pending = false;
        } else if (scalar == U'\\') {
            pending = true;
        } else {
            text::appendScalar(out, scalar);
        }
    }
    return out;
}

// One pass over the text, so that an escaped backslash is never read again as the start of "\u".
std::string androidUnescaped(std::string_view text) {
    if (text.find('\\') == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    char32_t scalar;
    while (offset < text.size()) {
        if (const auto unit = unicodeEscape(text, offset)) {
            if (!isSurrogate(*unit)) {
                text::appendScalar(out, *unit);
                offset += 6;
                continue;
            }
            const auto low = unicodeEscape(text, offset + 6);
            if (*unit < 0xDC00 && low && *low >= 0xDC00 && *low <= 0xDFFF) {
                text::appendScalar(out, 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
                offset += 12;
                continue;
            }
        }
        text::nextScalar(text, offset, scalar);
        if (scalar != U'\\') {
            text::appendScalar(out, scalar);
            continue;
        }
        // A backslash at the end is dropped.
        if (!text::nextScalar(text, offset, scalar))
            break;
        const char32_t* mapped = lookup(escapeTable(), scalar);
        text::appendScalar(out, mapped ? *mapped : scalar);
    }
    return out;
}

} // namespace orvel::SoftwareFormats
