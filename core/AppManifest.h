#pragma once
// The developer's "app.json": what translators should know about the app. Every key may be absent.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Json.h"
#include "core/OrvelProtocol.h"

namespace orvel {

struct AppManifest {
    // A term with fixed handling.
    struct Term {
        std::string term;
        std::optional<std::string> note;
        // Whether the term is translated at all.
        std::optional<bool> translate;

        static Term fromJson(const json::Json& value);
        json::Json toJson() const;
        bool operator==(const Term&) const = default;
    };

    std::optional<std::int64_t> protocol = OrvelProtocol::version;
    std::optional<std::string> description;
    std::optional<std::string> context;
    std::optional<std::vector<Term>> glossary;

    static AppManifest fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const AppManifest&) const = default;
};

} // namespace orvel

template <> struct std::hash<orvel::AppManifest::Term> {
    std::size_t operator()(const orvel::AppManifest::Term& term) const noexcept;
};
