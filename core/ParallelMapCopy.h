#pragma once
// A copy of a large ordered map made on several threads at once, for a thread that waits for it (the
// main thread's copy of a project): each thread copies a run of neighbouring entries, then the copied
// entries are linked into one map without being copied again. The source must not change meanwhile.

#include <algorithm>
#include <cstddef>
#include <stop_token>
#include <system_error>
#include <vector>

#include "core/TaskGroup.h"

namespace orvel {

// A copy of `source`, cut into runs where `splitKeys` fall in it. The cuts are found by looking the keys
// up, not by walking the map, so the waiting thread spends no time on a large map's first entries; a
// caller that knows keys spread over the map (a project's string ids) gives runs of about equal length.
// Keys in any order, repeated or outside the map, only give runs that are empty. Falls back to a copy on
// the calling thread without keys or when no thread can be had.
template <class Map, class Key> Map parallelCopy(const Map& source, std::vector<Key> splitKeys) {
    if (splitKeys.empty())
        return source;
    std::sort(splitKeys.begin(), splitKeys.end());
    std::vector<typename Map::const_iterator> bounds{source.begin()};
    for (const Key& key : splitKeys)
        bounds.push_back(source.lower_bound(key));
    bounds.push_back(source.end());
    const std::size_t threads = bounds.size() - 1;
    std::vector<Map> runs(threads);
    try {
        TaskGroup::run(threads, static_cast<int>(threads), [&](std::size_t run, std::stop_token) {
            runs[run] = Map(bounds[run], bounds[run + 1]);
        });
    } catch (const std::system_error&) {
        return source;
    }
    Map copy = std::move(runs.front());
    for (std::size_t run = 1; run < threads; ++run)
        while (!runs[run].empty())
            copy.insert(copy.end(), runs[run].extract(runs[run].begin()));
    return copy;
}

} // namespace orvel
