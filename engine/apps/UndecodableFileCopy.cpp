#include "engine/apps/UndecodableFileCopy.h"

#include "core/FileIO.h"
#include "core/StringsFiles.h"

namespace orvel {

void keepUndecodableFile(const std::filesystem::path& file,
                         const std::function<bool(const std::string&)>& decodes) {
    const auto bytes = FileIO::readIfPresent(file, FileIO::Links::refuse);
    if (!bytes || decodes(*bytes))
        return;
    std::filesystem::path copy = file;
    copy += ".broken";
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(copy, error)))
        return;
    StringsFiles::writeAtomically(*bytes, copy);
}

} // namespace orvel
