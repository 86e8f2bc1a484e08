#pragma once
// Scratch folders and whole-file reads and writes for tests that touch the disk.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvel::testing {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end of a test.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvel-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("Cannot create a temporary folder.");
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        // Tests may have made the folder read-only; make it removable again.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes `contents` to path()/relative, creating the folders on the way; returns the full path.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view contents) const {
        const auto full = m_path / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream out(full, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        if (!out)
            throw std::runtime_error("Cannot write " + full.string());
        return full;
    }

    std::filesystem::path makeFolder(const std::filesystem::path& relative) const {
        const auto full = m_path / relative;
        std::filesystem::create_directories(full);
        return full;
    }

  private:
    std::filesystem::path m_path;
};

} // namespace orvel::testing
