#include "engine/apps/RunningBundles.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>

#include "core/FileIO.h"
#include "core/Numbers.h"

namespace orvel::RunningBundles {
namespace {

namespace fs = std::filesystem;

struct Process {
    std::uint64_t startTime;
    std::uint64_t pid;
    fs::path bundle;
};

std::optional<std::uint64_t> number(std::string_view text) {
    return parseNumber<std::uint64_t>(text);
}

// Field 22 of /proc/PID/stat, counted after the parenthesised command name (which may hold spaces).
std::optional<std::uint64_t> startTime(const fs::path& processFolder) {
    auto stat = FileIO::readIfPresent(processFolder / "stat");
    if (!stat)
        return std::nullopt;
    const auto close = stat->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::string_view rest = std::string_view(*stat).substr(close + 1);
    // After the name come the state (field 3) ... the start time (field 22): skip 19 fields.
    for (int field = 3; field < 22; ++field) {
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        rest.remove_prefix(std::min(rest.find(' '), rest.size()));
    }
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    return number(rest.substr(0, rest.find(' ')));
}

} // namespace

std::optional<fs::path> enclosingBundle(const fs::path& executable) {
    const std::vector<fs::path> parts(executable.begin(), executable.end());
    for (std::size_t i = parts.size(); i-- > 2;) {
        if (i + 1 >= parts.size() || parts[i] != "MacOS" || parts[i - 1] != "Contents" ||
            parts[i - 2].extension() != ".app")
            continue;
        fs::path bundle;
        for (std::size_t j = 0; j + 1 < i; ++j)
            bundle /= parts[j];
        return bundle;
    }
    return std::nullopt;
}

std::vector<RunningApplication> applications(const fs::path& processRoot) {
    std::vector<Process> processes;
    std::error_code error;
    for (fs::directory_iterator it(processRoot, error), end; !error && it != end; it.increment(error)) {
        auto pid = number(it->path().filename().string());
        if (!pid || *pid > std::uint64_t(INT32_MAX))
            continue;
        std::error_code linkError;
        const fs::path executable = fs::read_symlink(it->path() / "exe", linkError);
        if (linkError)
            continue;
        auto bundle = enclosingBundle(executable);
        auto started = startTime(it->path());
        if (bundle && started)
            processes.push_back({*started, *pid, std::move(*bundle)});
    }
    std::sort(processes.begin(), processes.end(), [](const Process& a, const Process& b) {
        return std::tie(a.startTime, a.pid) < std::tie(b.startTime, b.pid);
    });
    std::vector<RunningApplication> running;
    running.reserve(processes.size());
    for (auto& process : processes)
        running.push_back({static_cast<std::int32_t>(process.pid), std::move(process.bundle)});
    return running;
}

std::vector<fs::path> list(const fs::path& processRoot) {
    std::vector<fs::path> bundles;
    for (auto& application : applications(processRoot))
        bundles.push_back(std::move(application.bundleURL));
    return bundles;
}

} // namespace orvel::RunningBundles
