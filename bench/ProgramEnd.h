#pragma once
// What the benchmark program takes down at its end, before its static objects go: the state objects that
// serve every repetition keep workers, and a worker must never meet a destroyed static.

#include <functional>
#include <utility>

namespace orvel::bench {

// Runs `step` once the benchmarks are over, before main() returns; the last step handed in runs first.
void atProgramEnd(std::function<void()> step);

// Runs the steps handed to atProgramEnd(); main() calls it after the benchmarks.
void endProgram();

// A T made now that lives until the program's end: for objects kept across the benchmarks.
template <class T, class... Arguments> T& untilProgramEnd(Arguments&&... arguments) {
    T* made = new T(std::forward<Arguments>(arguments)...);
    atProgramEnd([made] { delete made; });
    return *made;
}

} // namespace orvel::bench
