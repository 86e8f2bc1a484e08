#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "core/StringsFiles.h"
#include "core/Uuid.h"

namespace orvel::StringsFiles {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closing reports the last write errors of some file systems, so its result counts.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

  private:
    int m_fd;
};

// Writes the whole file and flushes it to disk, so that the rename cannot expose an empty or partial
// target after a crash or power loss.
void writeDurably(std::string_view data, const fs::path& path) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0)
        fail("Cannot create the file", path, errno);
    while (!data.empty()) {
        const ssize_t written = ::write(file.get(), data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("Cannot write the file", path, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file.get()) != 0)
        fail("Cannot flush the file to disk", path, errno);
    if (file.close() != 0)
        fail("Cannot write the file", path, errno);
}

} // namespace

std::string temporaryName(const std::string& fileName) {
    return "." + fileName + "." + Uuid::generate() + ".tmp";
}

void writeAtomically(std::string_view data, const fs::path& path) {
    const fs::path parent = path.parent_path();
    if (!parent.empty())
        fs::create_directories(parent);
    const fs::path temporary = parent / temporaryName(path.filename().string());
    try {
        writeDurably(data, temporary);
        if (std::rename(temporary.c_str(), path.c_str()) != 0)
            fail("Cannot replace the file", path, errno);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

} // namespace orvel::StringsFiles
