#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

#include "fuzz/FuzzTarget.h"

namespace orvel::fuzz {

const std::vector<NamedTarget>& targets() {
    static const std::vector<NamedTarget> all = [] {
        std::vector<NamedTarget> list;
        for (auto area : {coreTargets, appTargets, referenceTargets, pipelineTargets, inputTargets})
            for (const auto& target : area())
                list.push_back(target);
        return list;
    }();
    return all;
}

std::vector<std::string_view> pieces(std::string_view bytes, std::size_t count) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < count) {
        const std::size_t nul = bytes.find('\0');
        if (nul == std::string_view::npos)
            break;
        out.push_back(bytes.substr(0, nul));
        bytes.remove_prefix(nul + 1);
    }
    out.push_back(bytes);
    out.resize(count);
    return out;
}

void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "Broken property: %s\n", property);
    std::abort();
}

MemoryFile& MemoryFile::shared() {
    static MemoryFile file;
    return file;
}

MemoryFile::MemoryFile() : m_fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (m_fd < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

const std::string& MemoryFile::holding(std::string_view bytes) {
    if (::ftruncate(m_fd, 0) != 0 ||
        ::pwrite(m_fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        std::perror("memory file");
        std::abort();
    }
    return m_path;
}

namespace {

std::mutex scratchLock;
std::vector<std::filesystem::path> scratchFolders;

void removeScratchFolders() {
    const std::lock_guard lock(scratchLock);
    for (const auto& folder : scratchFolders) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

} // namespace

std::filesystem::path scratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    const std::lock_guard lock(scratchLock);
    if (scratchFolders.empty())
        std::atexit(removeScratchFolders);
    scratchFolders.emplace_back(pattern);
    return pattern;
}

} // namespace orvel::fuzz
