#pragma once
// The record the translator writes as "language.json" beside every overlay.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/Date.h"
#include "core/Json.h"
#include "core/OrvelProtocol.h"

namespace orvel {

struct LanguageInfo {
    LanguageInfo() = default;
    explicit LanguageInfo(std::string language, std::optional<std::string> name = std::nullopt,
                          std::optional<std::string> translator = std::nullopt,
                          std::optional<Date> updated = std::nullopt)
        : language(std::move(language)), name(std::move(name)), translator(std::move(translator)),
          updated(updated) {}

    std::int64_t protocol = OrvelProtocol::version;
    std::string language;
    // The language's name in its own language.
    std::optional<std::string> name;
    // The tool that made the overlay.
    std::optional<std::string> translator;
    std::optional<Date> updated;

    static LanguageInfo fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const LanguageInfo&) const = default;
};

} // namespace orvel
