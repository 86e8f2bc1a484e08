#pragma once
// The libarchive functions the reference downloads are unpacked with, taken from the library when the
// first archive is read.

#include <archive.h>
#include <archive_entry.h>

#include "core/SharedLibrary.h"

namespace orvel {

struct ArchiveCalls {
    explicit ArchiveCalls(const SharedLibrary& library);

    decltype(&::archive_read_new) read_new;
    decltype(&::archive_read_support_format_zip) read_support_format_zip;
    decltype(&::archive_read_support_filter_gzip) read_support_filter_gzip;
    decltype(&::archive_read_support_format_tar) read_support_format_tar;
    decltype(&::archive_read_open_memory) read_open_memory;
    decltype(&::archive_read_next_header) read_next_header;
    decltype(&::archive_read_data) read_data;
    decltype(&::archive_read_data_skip) read_data_skip;
    decltype(&::archive_read_free) read_free;
    decltype(&::archive_error_string) error_string;
    decltype(&::archive_entry_pathname) entry_pathname;
    decltype(&::archive_entry_pathname_utf8) entry_pathname_utf8;
    decltype(&::archive_entry_filetype) entry_filetype;
    decltype(&::archive_entry_hardlink) entry_hardlink;
    decltype(&::archive_entry_symlink) entry_symlink;
    decltype(&::archive_entry_size_is_set) entry_size_is_set;
    decltype(&::archive_entry_size) entry_size;
};

// libarchive, loaded once; throws std::runtime_error when it cannot be had.
const ArchiveCalls& archiveCalls();

} // namespace orvel
