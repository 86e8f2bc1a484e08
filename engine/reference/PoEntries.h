#pragma once
// gettext PO catalogues.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::SoftwareFormats {

struct POEntry {
    std::string context;               // msgctxt, empty when absent
    std::string id;                    // msgid, never empty
    std::optional<std::string> plural; // msgid_plural of a plural entry
    std::vector<std::string> strings;  // the msgstr, or the msgstr[n] ordered by n
    bool operator==(const POEntry&) const = default;
};

// The translated entries in file order; the header, fuzzy and obsolete entries and entries with an empty
// translation are left out. Never fails.
std::vector<POEntry> poEntries(std::string_view text);

// One quoted string literal without its quotes and with its escapes resolved.
std::string poString(std::string_view literal);

} // namespace orvel::SoftwareFormats
