#pragma once
// Small zip and gzip-compressed tar archives built in memory, hostile entries included.

#include <stdexcept>
#include <string>
#include <vector>

#include <locale.h>

#include <archive.h>
#include <archive_entry.h>

namespace orvel::testing {

struct ArchiveEntry {
    enum class Kind { file, folder, symlink, hardlink };
    std::string path;
    std::string contents;
    Kind kind = Kind::file;
    // The target of a link.
    std::string target;
};

inline ArchiveEntry fileEntry(std::string path, std::string contents) {
    return {std::move(path), std::move(contents), ArchiveEntry::Kind::file, {}};
}

inline ArchiveEntry folderEntry(std::string path) {
    return {std::move(path), {}, ArchiveEntry::Kind::folder, {}};
}

inline ArchiveEntry linkEntry(std::string path, std::string target, bool hard) {
    return {std::move(path),
            {},
            hard ? ArchiveEntry::Kind::hardlink : ArchiveEntry::Kind::symlink,
            std::move(target)};
}

// Writes the names as UTF-8 under a UTF-8 locale: libarchive's tar writer cannot store a name outside
// ASCII under the C locale the tests run in.
class Utf8Writing {
  public:
    Utf8Writing() : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{})) {
        if (m_locale)
            m_previous = uselocale(m_locale);
    }
    ~Utf8Writing() {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    Utf8Writing(const Utf8Writing&) = delete;
    Utf8Writing& operator=(const Utf8Writing&) = delete;

  private:
    locale_t m_locale;
    locale_t m_previous{};
};

inline std::string buildArchive(const std::vector<ArchiveEntry>& entries, bool zip) {
    const Utf8Writing utf8;
    archive* writer = archive_write_new();
    if (zip) {
        archive_write_set_format_zip(writer);
        // Names are marked as UTF-8, as the programs' archive hosts write them.
        archive_write_set_options(writer, "hdrcharset=UTF-8");
    } else {
        archive_write_set_format_pax_restricted(writer);
        archive_write_add_filter_gzip(writer);
    }
    std::string bytes(1 << 20, '\0');
    std::size_t used = 0;
    if (archive_write_open_memory(writer, bytes.data(), bytes.size(), &used) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(writer));
    for (const auto& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.path.c_str());
        archive_entry_set_perm(entry, 0644);
        switch (item.kind) {
        case ArchiveEntry::Kind::file:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, static_cast<la_int64_t>(item.contents.size()));
            break;
        case ArchiveEntry::Kind::folder:
            archive_entry_set_filetype(entry, AE_IFDIR);
            break;
        case ArchiveEntry::Kind::symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.target.c_str());
            break;
        case ArchiveEntry::Kind::hardlink:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_hardlink(entry, item.target.c_str());
            break;
        }
        if (archive_write_header(writer, entry) != ARCHIVE_OK)
            throw std::runtime_error(archive_error_string(writer));
        if (!item.contents.empty())
            archive_write_data(writer, item.contents.data(), item.contents.size());
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    bytes.resize(used);
    return bytes;
}

} // namespace orvel::testing
