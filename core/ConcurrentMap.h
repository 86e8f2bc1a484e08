#pragma once
// Transforming many items in parallel without running more than a fixed number of transforms at once.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <type_traits>
#include <vector>

#include "core/TaskGroup.h"

namespace orvel {

// The results of transform(item, token) for every item, in item order. At most `limit` transforms run at
// the same time; a limit of 0 transforms nothing and gives no results, a negative limit is refused with
// std::invalid_argument. The first transform to throw stops the others; once they have ended its error
// is rethrown. A stop of `stop` ends the map with CancellationError (or the first error, if any).
template <class Item, class Transform>
auto concurrentMap(const std::vector<Item>& items, int limit, const Transform& transform,
                   const std::stop_token& stop = {})
    -> std::vector<std::invoke_result_t<const Transform&, const Item&, std::stop_token>> {
    using Result = std::invoke_result_t<const Transform&, const Item&, std::stop_token>;
    if (limit < 0)
        throw std::invalid_argument("concurrentMap needs a limit of 0 or more");
    if (limit == 0)
        return {};
    std::vector<std::optional<Result>> pending(items.size());
    TaskGroup::run(
        items.size(), limit,
        [&](std::size_t index, std::stop_token token) {
            pending[index].emplace(transform(items[index], token));
        },
        stop);
    std::vector<Result> results;
    results.reserve(pending.size());
    for (auto& slot : pending)
        results.push_back(std::move(*slot));
    return results;
}

} // namespace orvel
