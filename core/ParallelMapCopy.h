#pragma once
// A copy of a large ordered map made on several threads at once, for a thread that waits for it (the
// main thread's copy of a project): each thread copies a run of neighbouring entries, then the copied
// entries are linked into one map without being copied again. The source must not change meanwhile.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <stop_token>
#include <system_error>
#include <thread>
#include <vector>

#include "core/TaskGroup.h"

namespace orvel {

// A copy of `source`; a run of fewer than `smallestRun` entries is not worth a thread of its own. Falls
// back to a copy on the calling thread when no thread can be had.
template <class Map> Map parallelCopy(const Map& source, std::size_t smallestRun) {
    constexpr std::size_t mostThreads = 4;
    const std::size_t threads = std::min({mostThreads, static_cast<std::size_t>(std::thread::hardware_concurrency()),
                                          source.size() / std::max<std::size_t>(smallestRun, 1)});
    if (threads < 2)
        return source;
    std::vector<typename Map::const_iterator> bounds{source.begin()};
    for (std::size_t run = 1; run < threads; ++run)
        bounds.push_back(std::next(bounds.back(), static_cast<std::ptrdiff_t>(source.size() / threads)));
    bounds.push_back(source.end());
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
