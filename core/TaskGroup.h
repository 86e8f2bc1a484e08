#pragma once
// Parallel child tasks of one blocking operation: a few at a time, each on its own thread, and the
// first failure ends the whole group.

#include <cstddef>
#include <functional>
#include <stop_token>

namespace orvel::TaskGroup {

// Runs task(0) to task(count - 1), at most `limit` at once (a limit below 1 counts as 1), each on a
// std::jthread; tasks start in index order. Every task gets a token that is stopped when `stop` is, or
// when a task of the group throws: the first task to throw requests stop on the others, tasks not
// started by then never start, and once every running task has ended its error is rethrown. When
// `stop` ends the group before every task has started and no task threw, CancellationError is thrown.
// Returns only when no task of the group is running any more.
void run(std::size_t count, int limit, const std::function<void(std::size_t, std::stop_token)>& task,
         const std::stop_token& stop = {});

} // namespace orvel::TaskGroup
