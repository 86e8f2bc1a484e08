#pragma once
// The counts of a workspace's string list that do not depend on the filter or the search. They take a
// pass over every string, so the workspace works them out once per change of what they count (the
// strings, the project, the language, where strings were seen, the problems) and every view that shows
// them reads the same figures.

#include <optional>

namespace orvel {

struct WorkspaceCounts {
    // Strings to translate.
    int translatable = 0;
    // Of those, the ones with a translation that is not empty.
    int translated = 0;
    // Of those, the ones whose translation the person wrote or kept.
    int edited = 0;
    // Of those, the ones with a problem; none while the problems are not computed.
    std::optional<int> problems;
    // Strings to translate that were seen on a screen of the app.
    int seen = 0;

    bool operator==(const WorkspaceCounts&) const = default;
};

} // namespace orvel
