// The settled memory of the real program, started as a person starts it (offscreen, in a scratch home):
// on an empty home, where all it holds is the libraries it loads and its own window, and with the large
// generated app of 50,000 strings, half of them translated, chosen. "libraries MB" is what the loaded
// libraries hold, so that one more library loaded at the start shows; "heap MB" the memory of the
// program's own making, which grows when the strings take more or freed memory is kept.

// Built where the program is (not in the fuzzing tree).
#ifdef ORVEL_PROGRAM

#include <benchmark/benchmark.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "bench/LargeWorkspace.h"
#include "core/Json.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"

namespace {

namespace fs = std::filesystem;

// The app's bundle, its 40 catalogs and its German project, as the program finds them in `home`.
void writeLargeApp(const fs::path& home, int count) {
    const orvel::bench::GeneratedApp generated = orvel::bench::generatedApp(count);
    const fs::path contents = home / "Applications" / "Large.app" / "Contents";
    fs::create_directories(contents / "Resources" / "Orvel");
    orvel::StringsFiles::writeAtomically(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>CFBundleIdentifier</key><string>com.example.Large</string>"
        "<key>CFBundleName</key><string>Large</string>"
        "<key>CFBundleShortVersionString</key><string>1.0</string></dict></plist>\n",
        contents / "Info.plist");
    std::map<std::string, orvel::json::Json> tables;
    for (const orvel::SourceString& string : generated.strings) {
        orvel::json::Json entry = {
            {"localizations", {{"en", {{"stringUnit", {{"state", "translated"}, {"value", string.text}}}}}}}};
        if (!string.translate)
            entry["shouldTranslate"] = false;
        tables[string.table][string.key] = std::move(entry);
    }
    for (auto& [table, strings] : tables)
        orvel::StringsFiles::writeAtomically(
            orvel::json::dump(
                orvel::json::Json{{"sourceLanguage", "en"}, {"version", "1.0"}, {"strings", strings}}),
            contents / "Resources" / "Orvel" / (table + ".xcstrings"));
    const fs::path project = orvel::OrvelPaths::dataFolder("com.example.Large", false, home) / ".translator";
    fs::create_directories(project);
    orvel::StringsFiles::writeAtomically(generated.project.encoded(), project / "de.json");
}

struct Usage {
    double resident = 0;
    double libraries = 0;
    double program = 0;
};

// What the process holds, by kind of mapping, in megabytes.
Usage usageOf(qint64 process, const std::string& programPath) {
    std::ifstream maps("/proc/" + std::to_string(process) + "/smaps");
    Usage usage;
    std::string line;
    std::string mapped;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first.find('-') != std::string::npos && first.back() != ':') {
            std::string ignored;
            fields >> ignored >> ignored >> ignored >> ignored;
            std::getline(fields >> std::ws, mapped);
        } else if (first == "Rss:") {
            double kilobytes = 0;
            fields >> kilobytes;
            const double megabytes = kilobytes / 1024;
            usage.resident += megabytes;
            if (mapped.find(".so") != std::string::npos)
                usage.libraries += megabytes;
            else if (mapped == programPath)
                usage.program += megabytes;
        }
    }
    return usage;
}

// Starts the program in `home` and waits until what it holds has stayed put for a few seconds: the load,
// the checks and the release of what they freed are over.
void BM_ProgramSettledMemory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    char pattern[] = "/tmp/orvel-bench-XXXXXX";
    const fs::path home = mkdtemp(pattern);
    if (count > 0)
        writeLargeApp(home, count);
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", QString::fromStdString(home.string()));
    environment.insert("ORVEL_HOME", QString::fromStdString(home.string()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((home / "runtime").string()));
    const std::string programPath = fs::canonical(ORVEL_PROGRAM).string();
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QString::fromStdString(programPath), {});
        if (!program.waitForStarted(10000)) {
            state.SkipWithError("The program did not start.");
            break;
        }
        const auto started = std::chrono::steady_clock::now();
        Usage usage;
        // Since when it has held within half a megabyte of what it held then.
        double steadySince = 0;
        double steadyAt = -1;
        for (double seconds = 0; seconds < 90 && seconds - steadySince < 4;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            usage = usageOf(program.processId(), programPath);
            if (std::abs(usage.resident - steadyAt) > 0.5) {
                steadySince = seconds;
                steadyAt = usage.resident;
            }
        }
        program.kill();
        program.waitForFinished(10000);
        state.SetIterationTime(steadySince);
        state.counters["settled MB"] = usage.resident;
        state.counters["libraries MB"] = usage.libraries;
        state.counters["program MB"] = usage.program;
        state.counters["heap MB"] = usage.resident - usage.libraries - usage.program;
    }
    std::error_code ignored;
    fs::remove_all(home, ignored);
}

} // namespace

// Once each: a start takes seconds and its figure is what the system counts, not a mean.
BENCHMARK(BM_ProgramSettledMemory)
    ->Arg(0)
    ->Arg(orvel::bench::stringCount)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

#endif
