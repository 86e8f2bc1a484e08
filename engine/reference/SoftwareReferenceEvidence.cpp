// The evidence line of a key term: how the reference programs translated it, the leading translation
// and its serious rivals only.

#include "core/TextPieces.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {
namespace {

// A rival counts when two programs share it or it has a tenth of the leader's uses.
constexpr std::size_t sharedBySources = 2;
constexpr std::int64_t leaderShare = 10;

bool isSerious(const SoftwareReference::Entry& entry, const SoftwareReference::Entry& leader) {
    if (entry == leader || entry.counts.size() >= sharedBySources)
        return true;
    std::int64_t weighed = 0;
    // Counts come from a cache file anyone may edit; a product too large to hold goes by its sign.
    if (__builtin_mul_overflow(entry.total(), leaderShare, &weighed))
        return entry.total() > 0;
    return weighed >= leader.total();
}

std::string evidenceLine(const SoftwareReference::Entry& entry) {
    std::vector<std::string> parts;
    for (SoftwareReference::Source source : SoftwareReference::allSources)
        if (const auto count = entry.counts.find(std::string(rawValue(source))); count != entry.counts.end())
            parts.push_back(std::string(displayName(source)) + " " + std::to_string(count->second));
    return "«" + entry.text + "» (" + text::joined(parts, ", ") + ")";
}

} // namespace

std::optional<std::string> SoftwareReference::evidence(std::string_view term, std::size_t limit) const {
    const auto found = table.find(AppleReference::americanized(term));
    if (found == table.end() || found->second.empty())
        return std::nullopt;
    const std::vector<Entry>& entries = found->second;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < std::min(limit, entries.size()); ++i)
        if (isSerious(entries[i], entries.front()))
            lines.push_back(evidenceLine(entries[i]));
    return text::joined(lines, "; ");
}

} // namespace orvel
