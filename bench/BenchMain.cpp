// The benchmark program: the benchmarks, then the objects they shared are taken down while everything
// they use still exists.
#include <benchmark/benchmark.h>

#include "bench/ProgramEnd.h"
#include "core/FreedMemory.h"

int main(int argc, char** argv) {
    // As the application does: what the benchmarks measure of memory is what the program holds.
    orvel::FreedMemory::limitPools();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orvel::bench::endProgram();
    return 0;
}
