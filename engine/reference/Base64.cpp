#include "engine/reference/Base64.h"

#include <array>
#include <cstdint>

namespace orvel::Base64 {
namespace {

constexpr std::int8_t notInAlphabet = -1;
constexpr std::int8_t padding = -2;

constexpr std::array<std::int8_t, 256> values = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(notInAlphabet);
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    table['='] = padding;
    return table;
}();

} // namespace

std::optional<std::string> decoded(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    int filled = 0;
    int paddings = 0;
    bool ended = false;
    for (const char c : text) {
        const std::int8_t value = values[static_cast<unsigned char>(c)];
        if (value == notInAlphabet)
            continue;
        // A padded group ends the text.
        if (ended)
            return std::nullopt;
        if (value == padding) {
            ++paddings;
            ++filled;
        } else {
            // A digit after padding: the padding was not at the end.
            if (paddings > 0)
                return std::nullopt;
            group = group << 6 | static_cast<std::uint32_t>(value);
            ++filled;
        }
        if (filled < 4)
            continue;
        if (paddings > 2)
            return std::nullopt;
        group <<= 6 * paddings;
        out += static_cast<char>(group >> 16 & 0xFF);
        if (paddings < 2)
            out += static_cast<char>(group >> 8 & 0xFF);
        if (paddings < 1)
            out += static_cast<char>(group & 0xFF);
        group = 0;
        filled = 0;
        ended = paddings > 0;
    }
    if (filled != 0)
        return std::nullopt;
    return out;
}

} // namespace orvel::Base64
