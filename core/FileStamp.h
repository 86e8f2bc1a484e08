#pragma once
// What tells one version of a file from another without reading it: its size, modification time and
// identity on disk. A program that replaces the file gets a new identity; one that rewrites it in place
// changes its time, its size or both.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace orvel {

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    // The stamp of the regular file at `path` itself (a link is not followed); nothing for anything else.
    static std::optional<FileStamp> of(const std::filesystem::path& path);

    bool operator==(const FileStamp&) const = default;
};

} // namespace orvel
