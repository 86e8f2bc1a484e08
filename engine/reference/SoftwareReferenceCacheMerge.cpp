// What a rebuild of the cache keeps from the cache it replaces.

#include <algorithm>
#include <set>

#include "core/Unicode.h"
#include "engine/reference/SoftwareReferenceCache.h"

namespace orvel {
namespace {

using Entry = SoftwareReference::Entry;

// The table folds translations that differ only in letter case into one entry.
std::vector<Entry>::iterator sameTranslation(std::vector<Entry>& entries, const std::string& text) {
    const std::string lowercased = text::lowercased(text);
    return std::find_if(entries.begin(), entries.end(),
                        [&](const Entry& entry) { return text::lowercased(entry.text) == lowercased; });
}

} // namespace

void SoftwareReference::Cache::keepWhatFailedProgramsGave(const Cache& earlier) {
    std::set<std::string, std::less<>> kept;
    for (const std::string& program : failed)
        if (!pairs.contains(program) && earlier.pairs.contains(program))
            kept.insert(program);
    if (kept.empty())
        return;
    for (const std::string& program : kept) {
        pairs[program] = earlier.pairs.at(program);
        if (const auto found = earlier.style.find(program); found != earlier.style.end())
            style[program] = found->second;
    }
    for (const auto& [english, earlierEntries] : earlier.table) {
        bool changed = false;
        for (const Entry& earlierEntry : earlierEntries) {
            for (const auto& [program, count] : earlierEntry.counts) {
                if (!kept.contains(program))
                    continue;
                std::vector<Entry>& entries = table[english];
                auto entry = sameTranslation(entries, earlierEntry.text);
                if (entry == entries.end())
                    entry = entries.insert(entries.end(), Entry{earlierEntry.text, {}});
                entry->counts[program] += count;
                changed = true;
            }
        }
        if (!changed)
            continue;
        std::vector<Entry>& entries = table[english];
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return Entry::precedes(a, b, sourceRanks()); });
        if (entries.size() > maxEntries)
            entries.resize(maxEntries);
    }
}

} // namespace orvel
