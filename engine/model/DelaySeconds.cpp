#include "engine/model/DelaySeconds.h"

#include <cmath>

#include "core/Numbers.h"

namespace orvel {

std::optional<double> parseDelaySeconds(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    const auto parsed = parseNumber<double>(text);
    if (!parsed)
        return std::nullopt;
    const double value = *parsed;
    if (!std::isfinite(value) || value < 0)
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

} // namespace orvel
