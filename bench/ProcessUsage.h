#pragma once
// The memory and processor time this process uses, as the system counts them: what the benchmarks of
// whole runs compare a run's peak and its cores with.

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace orvel::bench {

// A field of /proc/self/status in megabytes ("VmRSS" now, "VmHWM" the peak); 0 when it cannot be read.
inline double statusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(field + ":"))
            return std::stod(line.substr(field.size() + 1)) / 1024;
    return 0;
}

inline double residentMegabytes() {
    return statusMegabytes("VmRSS");
}

inline double peakMegabytes() {
    return statusMegabytes("VmHWM");
}

// What the allocator has handed out and not had back, of every pool, in megabytes.
inline double heapMegabytes() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024 * 1024);
}

// Starts the peak again from what the process holds now.
inline void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The processor time of every thread of the process so far, in seconds.
inline double processorSeconds() {
    std::ifstream file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the program's name, which is in parentheses and may hold spaces.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    // State is the first field here; user and system time are the 12th and 13th.
    for (int index = 1; index <= 13 && fields >> field; ++index)
        if (index >= 12)
            ticks += std::stod(field);
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

} // namespace orvel::bench
