#include "bench/ProgramEnd.h"

#include <vector>

namespace orvel::bench {
namespace {

std::vector<std::function<void()>>& steps() {
    static std::vector<std::function<void()>> registered;
    return registered;
}

} // namespace

void atProgramEnd(std::function<void()> step) {
    steps().push_back(std::move(step));
}

void endProgram() {
    while (!steps().empty()) {
        std::function<void()> step = std::move(steps().back());
        steps().pop_back();
        step();
    }
}

} // namespace orvel::bench
