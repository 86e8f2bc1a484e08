#include <charconv>
#include <cstdint>

#include "core/Regex.h"
#include "core/Unicode.h"
#include "engine/reference/MozillaStrings.h"

namespace orvel::SoftwareFormats {
namespace {

std::optional<char32_t> scalarOf(std::string_view digits, int base) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return static_cast<char32_t>(value);
}

} // namespace

std::string numericReferencesDecoded(std::string_view text) {
    if (text.find("&#") == std::string_view::npos)
        return std::string(text);
    const auto pattern = RegexCache::regex("&#(x[0-9a-fA-F]+|[0-9]+);");
    if (!pattern)
        return std::string(text);
    std::string out;
    std::size_t copied = 0;
    for (const auto& match : regex::allMatches(*pattern, text)) {
        out.append(text.substr(copied, match.range.start - copied));
        copied = match.range.end;
        const std::string_view reference = *match.group(text, 1);
        const auto scalar =
            reference.front() == 'x' ? scalarOf(reference.substr(1), 16) : scalarOf(reference, 10);
        if (scalar)
            text::appendScalar(out, *scalar);
        else
            out.append(match.text(text));
    }
    out.append(text.substr(copied));
    return out;
}

} // namespace orvel::SoftwareFormats
