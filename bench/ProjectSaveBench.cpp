// Saving the large app's project (25,000 translations and the English of 50,000 strings recorded, about
// 8 MB of JSON), as every merged batch of a run has the writer do: when the file on disk is still the
// one this process wrote, and when another program changed it since, so that it is read and decoded to
// see whether it must be kept aside. The "addedPeakMB" counter is how far one save raises the process's
// peak memory above what it held before.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "bench/LargeWorkspace.h"
#include "bench/ProcessUsage.h"
#include "core/FreedMemory.h"
#include "core/OrvelPaths.h"

namespace {

namespace fs = std::filesystem;

void BM_ProjectSave(benchmark::State& state) {
    const bool changedOutside = state.range(0) != 0;
    char folderPattern[] = "/tmp/orvel-bench-save-XXXXXX";
    const fs::path home = mkdtemp(folderPattern);
    orvel::OrvelPaths::setHomeOverride(home);
    orvel::bench::GeneratedApp generated = orvel::bench::generatedApp();
    generated.project.recordSource(generated.strings, "1.0");
    orvel::TranslatableApp app;
    app.bundleURL = home / "Large.app";
    app.bundleIdentifier = "com.example.Large";
    generated.project.save(app);
    const fs::path file = orvel::TranslationProject::fileURL(app, "de");
    for (auto _ : state) {
        if (changedOutside) {
            state.PauseTiming();
            // Another program rewrites the file in place: same bytes, a new time.
            std::ofstream(file, std::ios::binary | std::ios::app).flush();
            fs::last_write_time(file, fs::file_time_type::clock::now());
            state.ResumeTiming();
        }
        generated.project.save(app);
    }
    // Measured outside the timed loop: resetting the peak costs a walk of the process's pages. What the
    // timed saves freed goes back first, or the allocator would lend it to this save unseen.
    orvel::FreedMemory::release();
    orvel::bench::resetPeak();
    const double before = orvel::bench::residentMegabytes();
    generated.project.save(app);
    state.counters["addedPeakMB"] = orvel::bench::peakMegabytes() - before;
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    orvel::OrvelPaths::setHomeOverride(std::nullopt);
    std::error_code ignored;
    fs::remove_all(home, ignored);
}
BENCHMARK(BM_ProjectSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
