#include "core/NoLinks.h"

#include <system_error>

namespace orvel::NoLinks {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path& path, const char* what) {
    throw fs::filesystem_error(what, path, std::make_error_code(std::errc::too_many_symbolic_link_levels));
}

void requireNotLink(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (fs::is_symlink(status))
        fail(path, "A symbolic link in an app's data folder is not followed");
}

} // namespace

void require(const fs::path& root, const fs::path& path) {
    const fs::path relative = path.lexically_normal().lexically_relative(root.lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        fail(path, "The path lies outside the app's data folder");
    fs::path current = root;
    requireNotLink(current);
    for (const auto& component : relative) {
        if (component == ".")
            continue;
        current /= component;
        requireNotLink(current);
    }
}

} // namespace orvel::NoLinks
