#include "core/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel::FileIO {
namespace {

[[noreturn]] void fail(const std::filesystem::path& path, std::errc error, const char* what) {
    throw std::system_error(std::make_error_code(error), path.string() + " " + what);
}

[[noreturn]] void failWithErrno(const std::filesystem::path& path, int error) {
    throw std::system_error(error, std::generic_category(), path.string());
}

// Opens without blocking (a FIFO opens at once instead of waiting for a writer) and keeps the
// descriptor only for a regular file. Returns the descriptor and the file's size.
// `folder` is a descriptor `path` is relative to, or AT_FDCWD.
std::pair<int, std::uint64_t> openRegular(const std::filesystem::path& path, Links links,
                                          int folder = AT_FDCWD) {
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (links == Links::refuse)
        flags |= O_NOFOLLOW;
    int fd = -1;
    do
        fd = ::openat(folder, path.c_str(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP && links == Links::refuse)
            fail(path, std::errc::too_many_symbolic_link_levels, "is a symbolic link, which is not followed");
        failWithErrno(path, error);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        failWithErrno(path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        if (S_ISDIR(status.st_mode))
            fail(path, std::errc::is_a_directory, "is a folder, not a file");
        fail(path, std::errc::invalid_argument, "is not a regular file");
    }
    return {fd, static_cast<std::uint64_t>(status.st_size)};
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { ::close(m_fd); }
    int get() const { return m_fd; }

  private:
    int m_fd;
};

// Reads the whole file into `bytes` (a buffer with size(), data() and resize()) and gives the number of
// bytes read. The file may grow while it is read: it is read to its end, but never past the cap.
template <class Buffer>
std::size_t readToEnd(const std::filesystem::path& path, int fd, std::uint64_t size,
                      std::uint64_t maximumSize, Buffer& bytes) {
    if (size > maximumSize)
        fail(path, std::errc::file_too_large, "is larger than the files read here");
    // One byte more than the file holds: the read that finds its end needs room, and making room
    // after the whole file is in would copy all of it.
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            if (bytes.size() > maximumSize)
                fail(path, std::errc::file_too_large, "is larger than the files read here");
            const std::uint64_t grown = bytes.size() + std::max<std::size_t>(4096, bytes.size() / 2);
            bytes.resize(static_cast<std::size_t>(std::min(grown, maximumSize + 1)));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failWithErrno(path, errno);
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > maximumSize)
        fail(path, std::errc::file_too_large, "is larger than the files read here");
    return filled;
}

} // namespace

std::string read(const std::filesystem::path& path, Links links, std::uint64_t maximumSize) {
    const auto [fd, size] = openRegular(path, links);
    const Descriptor file(fd);
    std::string bytes;
    bytes.resize(readToEnd(path, file.get(), size, maximumSize, bytes));
    return bytes;
}

void PaddedBytes::resize(std::size_t size) {
    // Growing keeps the bytes read so far and leaves the new room as it is: the reads fill it.
    if (size > m_capacity) {
        std::unique_ptr<char[]> grown(new char[size + m_padding]);
        std::copy_n(m_data.get(), m_size, grown.get());
        m_data = std::move(grown);
        m_capacity = size;
    }
    m_size = size;
}

PaddedBytes readPadded(const std::filesystem::path& path, std::size_t padding, Links links,
                       std::uint64_t maximumSize) {
    const auto [fd, size] = openRegular(path, links);
    const Descriptor file(fd);
    PaddedBytes bytes(padding);
    bytes.resize(readToEnd(path, file.get(), size, maximumSize, bytes));
    std::fill_n(bytes.data() + bytes.size(), padding, '\0');
    return bytes;
}

std::optional<std::string> readIfPresent(const std::filesystem::path& path, Links links,
                                         std::uint64_t maximumSize) {
    try {
        return read(path, links, maximumSize);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

std::optional<std::string> readInFolderIfPresent(int folder, const std::string& name,
                                                 std::uint64_t maximumSize) {
    try {
        const auto [fd, size] = openRegular(name, Links::refuse, folder);
        const Descriptor file(fd);
        std::string bytes;
        bytes.resize(readToEnd(name, file.get(), size, maximumSize, bytes));
        return bytes;
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

RegularFile::RegularFile(const std::filesystem::path& path, Links links) {
    std::tie(m_fd, m_size) = openRegular(path, links);
}

RegularFile::~RegularFile() {
    ::close(m_fd);
}

std::optional<std::string> RegularFile::read(std::uint64_t offset, std::uint64_t length) const {
    if (offset > m_size || length > m_size - offset)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got =
            ::pread(m_fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(offset + filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        filled += static_cast<std::size_t>(got);
    }
    return bytes;
}

} // namespace orvel::FileIO
