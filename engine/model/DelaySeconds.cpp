#include "engine/model/DelaySeconds.h"

#include <charconv>
#include <cmath>

namespace orvel {

std::optional<double> parseDelaySeconds(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (!std::isfinite(value) || value < 0)
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

} // namespace orvel
