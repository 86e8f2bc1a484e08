#include "engine/apps/UndecodableFileCopy.h"

#include <system_error>

#include "core/FileIO.h"
#include "core/StringsFiles.h"
#include "core/SystemLog.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

fs::path brokenCopy(const fs::path& file) {
    fs::path copy = file;
    copy += ".broken";
    return copy;
}

bool entryExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Renaming moves the entry itself: a link is not followed and a large or special file is not read.
void moveAside(const fs::path& file) {
    const fs::path copy = brokenCopy(file);
    if (entryExists(copy))
        throw UnkeptFileError(file);
    std::error_code error;
    fs::rename(file, copy, error);
    // Gone meanwhile: there is nothing left to replace.
    if (error == std::errc::no_such_file_or_directory)
        return;
    if (error)
        throw UnkeptFileError(file);
    SystemLog::info("Files", "\"" + file.string() + "\" could not be read; it was kept as \"" +
                                 copy.filename().string() + "\" before it was replaced.");
}

} // namespace

UnkeptFileError::UnkeptFileError(const fs::path& file)
    : std::runtime_error("The file \"" + file.string() + "\" cannot be read and could not be kept as \"" +
                         brokenCopy(file).filename().string() + "\", so it was not replaced.") {}

void keepUndecodableFile(const fs::path& file, const std::function<bool(const std::string&)>& decodes) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    // Nothing to keep; a folder in the file's place makes the write itself fail.
    if (error || !fs::exists(status) || fs::is_directory(status))
        return;
    const auto bytes = FileIO::readIfPresent(file, FileIO::Links::refuse);
    if (!bytes) {
        moveAside(file);
        return;
    }
    if (decodes(*bytes))
        return;
    const fs::path copy = brokenCopy(file);
    if (fs::is_regular_file(fs::symlink_status(copy, error)))
        return;
    StringsFiles::writeAtomically(*bytes, copy);
}

} // namespace orvel
