#include "core/OpenFolder.h"
#include "core/StringsFiles.h"
#include "core/Uuid.h"

namespace orvel::StringsFiles {

namespace fs = std::filesystem;

std::string temporaryName(const std::string& fileName) {
    return "." + fileName + "." + Uuid::generate() + ".tmp";
}

bool isTemporaryName(std::string_view name) {
    constexpr std::string_view suffix = ".tmp";
    constexpr std::size_t uuidLength = 36;
    // The dot, at least one character of the name, the dot, the UUID and the suffix.
    if (name.size() < 1 + 1 + 1 + uuidLength + suffix.size() || name.front() != '.' ||
        !name.ends_with(suffix))
        return false;
    const std::string_view uuid = name.substr(name.size() - suffix.size() - uuidLength, uuidLength);
    if (name[name.size() - suffix.size() - uuidLength - 1] != '.')
        return false;
    for (std::size_t i = 0; i < uuid.size(); ++i) {
        const char c = uuid[i];
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

void writeAtomically(std::string_view data, const fs::path& path) {
    const fs::path parent = path.parent_path();
    if (!parent.empty())
        fs::create_directories(parent);
    OpenFolder::open(parent.empty() ? fs::path(".") : parent).replaceFile(path.filename().string(), data);
}

} // namespace orvel::StringsFiles
