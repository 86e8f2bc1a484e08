#pragma once
// The languages the new-language sheet offers, and the rows a search leaves of them. Pure functions of
// their inputs and the system's language names, so they are tested without a sheet.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::LanguageCandidates {

// The system's bare language codes (an identifier with no "_" or "-" and of fewer than 4 characters)
// followed by the common list (variants included), without repeats, ordered by each language's own name
// compared code point by code point; two codes with the same name are ordered by code.
std::vector<std::string> fromIdentifiers(const std::vector<std::string>& systemIdentifiers);

// The identifiers of the system's available locales, in the order the system lists them.
std::vector<std::string> systemIdentifiers();

// fromIdentifiers(systemIdentifiers()), made once per process on first use.
const std::vector<std::string>& shared();

// Whether `query` (already trimmed, not empty) occurs, ignoring case, in the language's own name, its
// English name, its name in the interface language or the code, tried in that order.
bool matches(const std::string& code, std::string_view query);

// The candidates not in `existing` (exact text) that match `search` trimmed of spaces and tabs (every one
// when that leaves nothing), in candidate order.
std::vector<std::string> filtered(const std::vector<std::string>& candidates,
                                  const std::vector<std::string>& existing, std::string_view search);

} // namespace orvel::LanguageCandidates
