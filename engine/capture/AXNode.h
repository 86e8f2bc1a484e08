#pragma once
// One element of a target app's interface, copied out of the accessibility tree so that the analysis
// never has to touch the platform again.

#include <optional>
#include <string>
#include <vector>

#include "core/Json.h"

namespace orvel {

struct AXNode {
    // Empty when the element reports no role.
    std::string role;
    std::optional<std::string> subrole{};
    std::optional<std::string> title{};
    std::optional<std::string> label{};
    std::optional<std::string> value{};
    std::optional<std::string> help{};
    std::optional<std::string> placeholder{};
    // x, y, width, height in screen points, y growing downwards; always four finite numbers.
    std::optional<std::vector<double>> frame{};
    std::vector<AXNode> children{};

    bool operator==(const AXNode&) const = default;

    // Throws json::DecodingError, also for a frame that is not four finite numbers and for trees nested
    // deeper than a read can produce (deep input would otherwise exhaust the stack).
    static AXNode fromJson(const json::Json& value);
    json::Json toJson() const;
};

} // namespace orvel
