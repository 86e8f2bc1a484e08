#include "engine/capture/Occurrence.h"

#include <algorithm>
#include <cmath>

#include "core/Hash.h"

namespace orvel {

Occurrence Occurrence::fromJson(const json::Json& value) {
    Occurrence out;
    out.screen = json::required<std::string>(value, "screen");
    out.section = json::optional<std::string>(value, "section");
    out.role = json::required<std::string>(value, "role");
    out.row = json::required<std::vector<std::string>>(value, "row");
    out.frame = json::optional<std::vector<double>>(value, "frame");
    out.captured = json::required<Date>(value, "captured");
    return out;
}

json::Json Occurrence::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "screen", screen);
    json::set(out, "section", section);
    json::set(out, "role", role);
    json::set(out, "row", row);
    // JSON cannot hold NaN or infinity; written as null, such a frame would make the whole context
    // file undecodable, so it is left out instead.
    if (frame && std::ranges::all_of(*frame, [](double value) { return std::isfinite(value); }))
        json::set(out, "frame", frame);
    json::set(out, "captured", captured);
    return out;
}

} // namespace orvel

std::size_t std::hash<orvel::Occurrence>::operator()(const orvel::Occurrence& occurrence) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, occurrence.screen);
    orvel::hashCombine(seed, occurrence.section.has_value());
    if (occurrence.section)
        orvel::hashCombine(seed, *occurrence.section);
    orvel::hashCombine(seed, occurrence.role);
    orvel::hashCombine(seed, occurrence.row.size());
    for (const auto& item : occurrence.row)
        orvel::hashCombine(seed, item);
    orvel::hashCombine(seed, occurrence.frame.has_value());
    if (occurrence.frame)
        for (double value : *occurrence.frame)
            orvel::hashCombine(seed, value);
    orvel::hashCombine(seed, occurrence.captured.time_since_epoch().count());
    return seed;
}
