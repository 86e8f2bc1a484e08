#pragma once
// One printf-style placeholder of a text, or a named plural substitution ("%#@count@").

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/Regex.h"

namespace orvel {

struct FormatSpecifier {
    std::string raw;                      // as written, from its "%" to its last character
    std::optional<std::int64_t> position; // the explicit argument number of "%2$d"
    std::string type;                     // length modifier + conversion, or "#@name@"
    regex::Range range;                   // byte offsets of `raw` in the UTF-8 text it was parsed from

    // An integer placeholder: its type ends in d, i, u, x, X or o.
    bool isWholeNumber() const;

    bool operator==(const FormatSpecifier&) const = default;
};

} // namespace orvel

template <> struct std::hash<orvel::FormatSpecifier> {
    std::size_t operator()(const orvel::FormatSpecifier& s) const noexcept;
};
