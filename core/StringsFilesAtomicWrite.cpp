#include "core/OpenFolder.h"
#include "core/StringsFiles.h"
#include "core/Uuid.h"

namespace orvel::StringsFiles {

namespace fs = std::filesystem;

std::string temporaryName(const std::string& fileName) {
    return "." + fileName + "." + Uuid::generate() + ".tmp";
}

void writeAtomically(std::string_view data, const fs::path& path) {
    const fs::path parent = path.parent_path();
    if (!parent.empty())
        fs::create_directories(parent);
    OpenFolder::open(parent.empty() ? fs::path(".") : parent).replaceFile(path.filename().string(), data);
}

} // namespace orvel::StringsFiles
