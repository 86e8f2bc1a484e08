#include "core/FileIO.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orvel::FileIO {

std::string read(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::system_error(std::make_error_code(std::errc::is_a_directory), path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::system_error(errno ? errno : ENOENT, std::generic_category(), path.string());
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad())
        throw std::system_error(EIO, std::generic_category(), path.string());
    return std::move(out).str();
}

std::optional<std::string> readIfPresent(const std::filesystem::path& path) {
    try {
        return read(path);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

} // namespace orvel::FileIO
