#pragma once
// One place where a string of a target app was seen on screen.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Date.h"
#include "core/Json.h"

namespace orvel {

struct Occurrence {
    // A window or screen name, or a menu path ("Menu bar > File").
    std::string screen;
    // The nearest heading above the text.
    std::optional<std::string> section{};
    // Plain words for the element: "button", "menu item", ...
    std::string role;
    // The elements on the same line; the string's own one in « ».
    std::vector<std::string> row{};
    // x, y, width, height in screen points.
    std::optional<std::vector<double>> frame{};
    Date captured{};

    bool operator==(const Occurrence&) const = default;

    static Occurrence fromJson(const json::Json& value);
    json::Json toJson() const;
};

} // namespace orvel

template <> struct std::hash<orvel::Occurrence> {
    std::size_t operator()(const orvel::Occurrence& occurrence) const noexcept;
};
