#pragma once
// The memory this process holds, as the system counts it: what the benchmarks of whole runs compare a
// run's peak with.

#include <fstream>
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

// Starts the peak again from what the process holds now.
inline void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace orvel::bench
