#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end of a test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvel::testing {

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
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

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
