#pragma once
// The code under which each reference project keeps its translation into one language.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvel {

struct SourceCodes {
    // The normalised tag of the language: the table key that matched, or the bare language code.
    std::string identifier;
    // Each code is absent when the project has no translation into the language.
    std::optional<std::string> android;     // suffix of the "values-" resource folders
    std::optional<std::string> chromium;    // "lang" code of the GRD files
    std::optional<std::string> mozilla;     // locale of Firefox and Thunderbird
    std::optional<std::string> libreoffice; // folder under "source/"
    std::optional<std::string> vlc;         // PO file name without ".po"

    bool operator==(const SourceCodes&) const = default;

    using Aliases = std::map<std::string, std::string, std::less<>>;

    // The languages whose codes differ from their bare language code, by table key.
    static const std::map<std::string, SourceCodes, std::less<>>& table();
    // Tags that name a table key in another way.
    static const Aliases& aliases();

    // The codes for a language tag ("pt", "zh_TW", "es-419"); nothing for English and for a tag
    // without a language part.
    static std::optional<SourceCodes> lookup(std::string_view tag);

    // The candidate when it is a table key, else its alias, else nothing.
    static std::optional<std::string> tableKey(std::string_view candidate, const Aliases& aliases);
};

} // namespace orvel
