#pragma once
// Where each string of a target app was seen, kept as "context.json" in the app's project folder.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"
#include "engine/capture/Occurrence.h"

namespace orvel {

struct TranslatableApp;

struct ContextMap {
    // String id to that string's occurrences, in the order they were found.
    std::map<std::string, std::vector<Occurrence>, std::less<>> occurrences;

    bool operator==(const ContextMap&) const = default;

    static ContextMap fromJson(const json::Json& value);
    json::Json toJson() const;

    // The app's project folder, then "context.json".
    static std::filesystem::path fileURL(const TranslatableApp& app);

    // The stored map, or an empty one when the file is missing, unreadable or does not decode.
    static ContextMap load(const TranslatableApp& app);
    static ContextMap load(const std::filesystem::path& file);
    // Replaces the file atomically; throws the writer's error and leaves the old file as it was.
    void save(const TranslatableApp& app) const;
    void save(const std::filesystem::path& file) const;

    // Takes in a fresh capture: everything known about the screens it saw is replaced by what it found
    // there, and what earlier captures found on other screens stays. Of the screens in `partial` (read
    // only in part, and the menu paths below them) what was known stays and what was found is added, until
    // a capture reads them whole.
    void merge(const ContextMap& captured, const std::vector<std::string>& partial = {});

    // "screen > section · role +N" of the first occurrence; nothing for an id without occurrences.
    std::optional<std::string> summary(std::string_view id) const;
};

} // namespace orvel
