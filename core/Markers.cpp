#include "core/Markers.h"

#include <limits>
#include <optional>

#include "core/Unicode.h"

namespace orvel::Markers {
namespace {

constexpr char32_t frame = U'\u2060';
constexpr char32_t firstDigit = U'\U000E0100';
constexpr std::int64_t base = 240;
constexpr std::string_view frameUtf8 = "\xE2\x81\xA0";

bool isDigit(char32_t scalar) {
    return scalar >= firstDigit && scalar < firstDigit + base;
}

struct Marker {
    std::int64_t id = 0;
    std::size_t end = 0; // byte offset just past the closing frame
};

// Reads a marker whose opening frame ends at `offset`.
std::optional<Marker> readMarker(std::string_view text, std::size_t offset) {
    std::int64_t value = 0;
    bool sawDigit = false;
    char32_t scalar = 0;
    while (text::nextScalar(text, offset, scalar)) {
        if (!isDigit(scalar))
            break;
        const auto digit = static_cast<std::int64_t>(scalar - firstDigit);
        // A number beyond 64 bits cannot name a string; such a run is ordinary text.
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / base)
            return std::nullopt;
        value = value * base + digit;
        sawDigit = true;
        scalar = 0;
    }
    if (!sawDigit || scalar != frame)
        return std::nullopt;
    return Marker{value, offset};
}

} // namespace

std::string encode(std::int64_t number) {
    if (number < 0)
        return {};
    std::vector<char32_t> digits;
    do {
        digits.push_back(firstDigit + static_cast<char32_t>(number % base));
        number /= base;
    } while (number > 0);
    std::string out(frameUtf8);
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        text::appendScalar(out, *it);
    out += frameUtf8;
    return out;
}

Stripped strip(std::string_view text) {
    // Most texts carry no marker: hand them back without walking their scalars.
    if (text.find(frameUtf8) == std::string_view::npos)
        return {std::string(text), {}};
    Stripped result;
    result.text.reserve(text.size());
    std::size_t copiedUpTo = 0;
    std::size_t searchFrom = 0;
    for (;;) {
        const std::size_t opening = text.find(frameUtf8, searchFrom);
        if (opening == std::string_view::npos)
            break;
        const std::size_t afterOpening = opening + frameUtf8.size();
        auto marker = readMarker(text, afterOpening);
        if (!marker) {
            // The opening frame is ordinary text; digits after it are too.
            searchFrom = afterOpening;
            continue;
        }
        result.text.append(text.substr(copiedUpTo, opening - copiedUpTo));
        result.ids.push_back(marker->id);
        copiedUpTo = searchFrom = marker->end;
    }
    result.text.append(text.substr(copiedUpTo));
    return result;
}

std::string clean(std::string_view text) {
    return strip(text).text;
}

} // namespace orvel::Markers
