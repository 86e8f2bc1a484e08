#include "core/FileStamp.h"

#include <sys/stat.h>

namespace orvel {

std::optional<FileStamp> FileStamp::of(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(status.st_size), status.st_mtim.tv_sec,
                     status.st_mtim.tv_nsec, static_cast<std::uint64_t>(status.st_dev),
                     static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace orvel
