#pragma once
// Whole-file reads shared by every reader. Many of the files read belong to other programs (bundles,
// a target app's data folder, downloads), so only regular files are read, never by blocking on a FIFO
// or a device, and never beyond a size cap.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::FileIO {

// Whether a symbolic link at the file's own name is followed. Files in a target app's data folder are
// read with `refuse`: that app could otherwise point a name of the folder at any file of the user.
enum class Links { follow, refuse };

// Larger than any file the system reads on purpose; it stops a hostile file from exhausting memory.
inline constexpr std::uint64_t defaultMaximumSize = std::uint64_t{256} << 20;

// The file's bytes. Throws std::system_error (with the path in its message) when the file cannot be
// opened, is not a regular file (a folder, a FIFO, a device, a socket), is a link while links are
// refused, or holds more than `maximumSize` bytes.
std::string read(const std::filesystem::path& path, Links links = Links::follow,
                 std::uint64_t maximumSize = defaultMaximumSize);

// The file's bytes, or nothing when read() would throw.
std::optional<std::string> readIfPresent(const std::filesystem::path& path, Links links = Links::follow,
                                         std::uint64_t maximumSize = defaultMaximumSize);

// The bytes of the file `name` of the open folder `folder` (a descriptor), read as read() reads with links
// refused, or nothing when that would throw. For a folder held open against a swap for a link.
std::optional<std::string> readInFolderIfPresent(int folder, const std::string& name,
                                                 std::uint64_t maximumSize = defaultMaximumSize);

// A file's bytes followed by zeros, in one buffer: for parsers that read a little past the end of their
// input, which would otherwise copy it first.
class PaddedBytes {
  public:
    explicit PaddedBytes(std::size_t padding) : m_padding(padding) {}
    std::string_view text() const { return {m_data.get(), m_size}; }
    // How many zeros follow text().
    std::size_t padding() const { return m_padding; }

    // For the reading.
    char* data() { return m_data.get(); }
    std::size_t size() const { return m_size; }
    void resize(std::size_t size);

  private:
    std::size_t m_padding;
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// The file's bytes as read() gives them, with `padding` zeros after them. Throws like read().
PaddedBytes readPadded(const std::filesystem::path& path, std::size_t padding, Links links = Links::follow,
                       std::uint64_t maximumSize = defaultMaximumSize);

// One regular file opened for reads at any offset, for readers that need only parts of a large file.
class RegularFile {
  public:
    // Throws like read(), except that the size is not capped.
    explicit RegularFile(const std::filesystem::path& path, Links links = Links::follow);
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    std::uint64_t size() const { return m_size; }
    // Exactly `length` bytes from `offset`; nothing when they lie outside the file or cannot be read.
    std::optional<std::string> read(std::uint64_t offset, std::uint64_t length) const;

  private:
    int m_fd;
    std::uint64_t m_size;
};

} // namespace orvel::FileIO
