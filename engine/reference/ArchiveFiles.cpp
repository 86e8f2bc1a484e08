#include "engine/reference/ArchiveFiles.h"

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include <locale.h>

#include "engine/reference/ArchiveCalls.h"
#include "engine/reference/SourceError.h"

namespace orvel::ArchiveFiles {
namespace {

struct ReadCleanup {
    void operator()(archive* reader) const { archiveCalls().read_free(reader); }
};

// libarchive converts entry names to the character set of the thread's locale and drops a name it
// cannot convert: under the C locale every non-ASCII zip name vanished. The names are read as UTF-8
// whatever locale the process runs in, by giving this thread a UTF-8 locale while the archive is read.
class Utf8Names {
  public:
    Utf8Names() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        if (utf8)
            m_previous = uselocale(utf8);
    }
    ~Utf8Names() {
        if (m_previous)
            uselocale(m_previous);
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

  private:
    locale_t m_previous{};
};

const char* entryPath(archive_entry* entry) {
    if (const char* utf8 = archiveCalls().entry_pathname_utf8(entry))
        return utf8;
    return archiveCalls().entry_pathname(entry);
}

[[noreturn]] void fail(const std::string& reason) {
    throw SoftwareReference::SourceError::failed("could not unpack an archive (" + reason + ")");
}

[[noreturn]] void failReading(archive* reader) {
    const char* reason = archiveCalls().error_string(reader);
    fail(reason ? reason : "unreadable archive");
}

// The path's components without empty and "." ones, or nothing when it is absolute or climbs out.
std::optional<std::vector<std::string_view>> safeComponents(std::string_view path) {
    if (path.starts_with('/'))
        return std::nullopt;
    std::vector<std::string_view> components;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const auto component = path.substr(0, slash);
        if (component == "..")
            return std::nullopt;
        if (!component.empty() && component != ".")
            components.push_back(component);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return components;
}

std::string_view extension(std::string_view name) {
    const auto dot = name.rfind('.');
    // A name that only begins with a dot is hidden, not an extension.
    return dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot + 1);
}

// The key the entry is stored under, or nothing when it is not taken.
std::optional<std::string> keyOf(archive_entry* entry, bool zip, const std::set<std::string>& extensions) {
    const char* path = entryPath(entry);
    if (!path || archiveCalls().entry_filetype(entry) != AE_IFREG || archiveCalls().entry_hardlink(entry) ||
        archiveCalls().entry_symlink(entry))
        return std::nullopt;
    auto components = safeComponents(path);
    if (!components || components->empty() || (zip && components->size() < 2))
        return std::nullopt;
    if (!extensions.contains(std::string(extension(components->back()))))
        return std::nullopt;
    std::string key;
    for (std::size_t i = zip ? 1 : 0; i < components->size(); ++i) {
        if (!key.empty())
            key += '/';
        key += (*components)[i];
    }
    return key;
}

std::string contents(archive* reader, archive_entry* entry, const Limits& limits, std::uint64_t& total) {
    const auto tooLarge = [&] { fail("a file larger than " + std::to_string(limits.fileBytes) + " bytes"); };
    if (archiveCalls().entry_size_is_set(entry) && archiveCalls().entry_size(entry) > 0 &&
        static_cast<std::uint64_t>(archiveCalls().entry_size(entry)) > limits.fileBytes)
        tooLarge();
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const la_ssize_t count = archiveCalls().read_data(reader, buffer, sizeof buffer);
        if (count < 0)
            failReading(reader);
        if (count == 0)
            return bytes;
        if (bytes.size() + static_cast<std::uint64_t>(count) > limits.fileBytes)
            tooLarge();
        total += static_cast<std::uint64_t>(count);
        if (total > limits.totalBytes)
            fail("more than " + std::to_string(limits.totalBytes) + " bytes of files");
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace

std::map<std::string, std::string> files(std::string_view archiveBytes, bool zip,
                                         const std::set<std::string>& extensions, const Limits& limits) {
    try {
        archiveCalls();
    } catch (const std::exception& error) {
        fail(error.what());
    }
    const Utf8Names utf8Names;
    std::unique_ptr<archive, ReadCleanup> reader(archiveCalls().read_new());
    if (!reader)
        fail("out of memory");
    archive* r = reader.get();
    if (zip) {
        archiveCalls().read_support_format_zip(r);
    } else {
        archiveCalls().read_support_filter_gzip(r);
        archiveCalls().read_support_format_tar(r);
    }
    if (archiveCalls().read_open_memory(r, archiveBytes.data(), archiveBytes.size()) != ARCHIVE_OK)
        failReading(r);

    std::map<std::string, std::string> result;
    std::uint64_t total = 0;
    std::size_t entries = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archiveCalls().read_next_header(r, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN)
            failReading(r);
        if (++entries > limits.entries)
            fail("more than " + std::to_string(limits.entries) + " entries");
        if (auto key = keyOf(entry, zip, extensions))
            result[*key] = contents(r, entry, limits, total);
        else if (archiveCalls().read_data_skip(r) < ARCHIVE_WARN)
            failReading(r);
    }
    return result;
}

} // namespace orvel::ArchiveFiles
