// The benchmark program: the benchmarks, then the objects they shared are taken down while everything
// they use still exists.
#include <benchmark/benchmark.h>

#include "bench/ProgramEnd.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orvel::bench::endProgram();
    return 0;
}
