#include "engine/reference/ArchiveCalls.h"

namespace orvel {

ArchiveCalls::ArchiveCalls(const SharedLibrary& library)
    : read_new(library.function<decltype(read_new)>("archive_read_new")),
      read_support_format_zip(
          library.function<decltype(read_support_format_zip)>("archive_read_support_format_zip")),
      read_support_filter_gzip(
          library.function<decltype(read_support_filter_gzip)>("archive_read_support_filter_gzip")),
      read_support_format_tar(
          library.function<decltype(read_support_format_tar)>("archive_read_support_format_tar")),
      read_open_memory(library.function<decltype(read_open_memory)>("archive_read_open_memory")),
      read_next_header(library.function<decltype(read_next_header)>("archive_read_next_header")),
      read_data(library.function<decltype(read_data)>("archive_read_data")),
      read_data_skip(library.function<decltype(read_data_skip)>("archive_read_data_skip")),
      read_free(library.function<decltype(read_free)>("archive_read_free")),
      error_string(library.function<decltype(error_string)>("archive_error_string")),
      entry_pathname(library.function<decltype(entry_pathname)>("archive_entry_pathname")),
      entry_pathname_utf8(library.function<decltype(entry_pathname_utf8)>("archive_entry_pathname_utf8")),
      entry_filetype(library.function<decltype(entry_filetype)>("archive_entry_filetype")),
      entry_hardlink(library.function<decltype(entry_hardlink)>("archive_entry_hardlink")),
      entry_symlink(library.function<decltype(entry_symlink)>("archive_entry_symlink")),
      entry_size_is_set(library.function<decltype(entry_size_is_set)>("archive_entry_size_is_set")),
      entry_size(library.function<decltype(entry_size)>("archive_entry_size")) {}

const ArchiveCalls& archiveCalls() {
    static const ArchiveCalls calls{SharedLibrary("libarchive.so.13")};
    return calls;
}

} // namespace orvel
