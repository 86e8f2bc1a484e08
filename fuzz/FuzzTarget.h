#pragma once
// Fuzz targets: each drives one reader of bytes that other programs control (bundles, data folders,
// downloads, model answers) with arbitrary input. A target fails only by crashing: a sanitizer report, an
// exception the reader does not document, or a broken property checked with require().

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::fuzz {

using Target = void (*)(std::string_view bytes);

struct NamedTarget {
    std::string_view name;
    Target run;
};

// Every target; the binary runs the one named by its file name ("fuzz_<name>") or by $ORVEL_FUZZ_TARGET.
const std::vector<NamedTarget>& targets();

// The targets of each area.
std::vector<NamedTarget> coreTargets();
std::vector<NamedTarget> appTargets();
std::vector<NamedTarget> referenceTargets();
std::vector<NamedTarget> pipelineTargets();
std::vector<NamedTarget> inputTargets();

// The input cut at its first `count - 1` NUL bytes into `count` pieces; missing pieces are empty.
std::vector<std::string_view> pieces(std::string_view bytes, std::size_t count);

// Aborts with the property's description when it does not hold, so that the input is kept as a crash.
void require(bool holds, const char* property);

// A new folder in the temporary folder, named from `prefix`, removed when the process ends.
std::filesystem::path scratchFolder(const std::string& prefix);

// A file in memory under a path ("/proc/self/fd/N"), for readers that take a path. One per process.
class MemoryFile {
  public:
    static MemoryFile& shared();
    // Replaces the file's contents; returns its path.
    const std::string& holding(std::string_view bytes);

  private:
    MemoryFile();
    int m_fd;
    std::string m_path;
};

} // namespace orvel::fuzz
