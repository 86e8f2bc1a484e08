#pragma once
// The files of a downloaded zip or gzip-compressed tar archive, unpacked in memory.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace orvel::ArchiveFiles {

// Bounds that keep a hostile or broken archive from taking all memory or time.
struct Limits {
    // Entries of any kind read from the archive.
    std::size_t entries = 50'000;
    // The size of one file that is taken.
    std::uint64_t fileBytes = 64ull << 20;
    // The sizes of all files taken together.
    std::uint64_t totalBytes = 512ull << 20;
};

// Relative path to contents of every regular file of the archive whose extension (the text after the
// last "." of its last path component) is one of `extensions`, compared exactly. Paths are cleaned of
// empty and "." components; a zip archive's paths also lose their first component (the archives hold
// one top folder), and a zip file without one is left out. Links, other non-regular entries, absolute
// paths and paths with a ".." component are left out too. A later file with the same path replaces an
// earlier one. Throws SoftwareReference::SourceError (failed) when the archive cannot be read or goes
// beyond `limits`.
std::map<std::string, std::string> files(std::string_view archive, bool zip,
                                         const std::set<std::string>& extensions, const Limits& limits = {});

} // namespace orvel::ArchiveFiles
