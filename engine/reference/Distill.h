#pragma once
// The evidence report of a software reference: a Markdown document of how the reference programs
// translated common interface words, and of their translators' typography and form of address.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/reference/SoftwareReference.h"
#include "engine/reference/StyleStats.h"

namespace orvel::Distill {

// The rows of the Common words table, in order.
const std::array<std::string_view, 265>& commonWords();

// The whole report, ending with one line feed. Never fails: what the reference lacks shows as "—".
std::string render(const SoftwareReference& reference);

// The first entry that two or more programs share, Android or Chromium among them; none otherwise.
std::optional<SoftwareReference::Entry> consensus(const std::vector<SoftwareReference::Entry>& entries);

// "key count, ..." by count, higher first, ties by key; the counts grouped; "—" for an empty map.
std::string counts(const StyleStats::Counts& counts);

// The decimal digits, from five digits on with a narrow no-break space before each group of three.
std::string groupedNumber(std::int64_t number);

// A text inside a table cell: line feeds as "⏎", tabs as spaces, "|" escaped.
std::string cellForm(std::string_view text);

// Which count map of a program's statistics a Typography section shows.
using CountsOf = std::function<StyleStats::Counts(const StyleStats&)>;

// Appends one Typography section: its title, note and a row of all `sources` together, then one row per
// program. `sources` are those that have statistics in the reference.
void section(std::vector<std::string>& lines, std::string_view title, std::string_view note,
             const std::vector<SoftwareReference::Source>& sources, const SoftwareReference& reference,
             const CountsOf& countsOf);

} // namespace orvel::Distill
