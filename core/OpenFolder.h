#pragma once
// A folder held open while files are created, replaced and removed in it. Everything is done relative
// to the open folder, so a check made when it was opened still holds for every write: a target app that
// swaps one of its folders for a symbolic link meanwhile cannot send a write anywhere else.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ByteSink.h"

namespace orvel {

class OpenFolder {
  public:
    // The folder at `path`, following links as any path does. Throws std::filesystem::filesystem_error.
    static OpenFolder open(const std::filesystem::path& path);

    // `root`, then each component of `path` below it, each opened without following a symbolic link
    // (`root` itself included, not the folders above it); missing folders are created when `create`.
    // Throws std::filesystem::filesystem_error: too_many_symbolic_link_levels for a link on the way,
    // not_a_directory for a file, and the system's error otherwise. `path` must lie inside `root`.
    static OpenFolder openBelow(const std::filesystem::path& root, const std::filesystem::path& path,
                                bool create);

    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // The path it was opened at; only for messages, since the folder may have moved since.
    const std::filesystem::path& path() const { return m_path; }

    // The atomic replacement of one file (FolderWrites for several): the bytes go to a hidden temporary
    // file in this folder, are flushed to disk, the temporary file is renamed over `name`, and the folder
    // itself is flushed, so that a reader sees the old or the new content and a power loss keeps one of
    // them. `name` must be one plain path component. Throws std::filesystem::filesystem_error; on failure
    // the temporary file is removed and an existing file is left untouched.
    void replaceFile(const std::string& name, std::string_view data) const;
    // As above, with the bytes written as `produce` hands them over (FolderWrites::replace).
    void replaceFile(const std::string& name, const ByteProducer& produce) const;

    // The names of the entries that are neither "." nor ".."; empty when the folder cannot be listed.
    std::vector<std::string> entryNames() const;

    // What the entry `name` is, a link not followed: `other` for a link, a special file, or an entry that
    // cannot be looked at.
    enum class EntryKind { missing, file, folder, other };
    EntryKind entryKind(const std::string& name) const;
    // The bytes of the regular file `name` (read as FileIO reads, a link not followed), or nothing.
    std::optional<std::string> readFile(const std::string& name) const;
    // Renames the entry `from` to `to` in this folder unless `to` exists; 0, or the system's error
    // (EEXIST when `to` exists). Both must be plain path components.
    int renameWithoutReplacing(const std::string& from, const std::string& to) const;

  private:
    friend class FolderWrites;

    OpenFolder(int descriptor, std::filesystem::path path) : m_fd(descriptor), m_path(std::move(path)) {}

    int m_fd;
    std::filesystem::path m_path;
};

} // namespace orvel
