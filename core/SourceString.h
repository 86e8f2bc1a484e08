#pragma once
// One translatable string of a target app, and the id by which every map of the system knows it.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Json.h"

namespace orvel {

struct StringCatalog;

struct SourceString {
    // Separates the table from the key in an id; a key may itself hold one, a table may not.
    static constexpr char idSeparator = '\x1F';

    std::string table;
    std::string key;
    std::string text;                                         // English; for a discovered string the key
    std::optional<std::map<std::string, std::string>> plural; // category to English form
    std::optional<std::string> comment;
    bool translate = true;
    bool discovered = false;

    std::string id() const { return id(table, key); }
    static std::string id(std::string_view table, std::string_view key);

    // Splits an id at its first separator into table and key; an id without one is all key of table "".
    static std::pair<std::string_view, std::string_view> splitId(std::string_view id);

    // The strings of one decoded catalog, sorted by key in the Finder-like order.
    static std::vector<SourceString> extract(const StringCatalog& catalog, const std::string& table);

    static SourceString fromJson(const json::Json& value);
    json::Json toJson() const;

    bool operator==(const SourceString&) const = default;
};

} // namespace orvel

template <> struct std::hash<orvel::SourceString> {
    std::size_t operator()(const orvel::SourceString& s) const noexcept;
};
