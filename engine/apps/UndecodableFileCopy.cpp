#include "engine/apps/UndecodableFileCopy.h"

#include <cerrno>

#include "core/OpenFolder.h"
#include "core/SystemLog.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

std::string brokenCopy(const std::string& name) {
    return name + ".broken";
}

// Renaming moves the entry itself: a link is not followed and a large or special file is not read.
void moveAside(const OpenFolder& folder, const std::string& name) {
    const std::string copy = brokenCopy(name);
    const int error = folder.renameWithoutReplacing(name, copy);
    // Gone meanwhile: there is nothing left to replace.
    if (error == ENOENT)
        return;
    if (error != 0)
        throw UnkeptFileError(folder.path() / name);
    SystemLog::info("Files", "\"" + (folder.path() / name).string() +
                                 "\" could not be read; it was kept as \"" + copy +
                                 "\" before it was replaced.");
}

} // namespace

UnkeptFileError::UnkeptFileError(const fs::path& file)
    : std::runtime_error("The file \"" + file.string() + "\" cannot be read and could not be kept as \"" +
                         brokenCopy(file.filename().string()) + "\", so it was not replaced.") {}

void keepUndecodableFile(const OpenFolder& folder, const std::string& name,
                         const std::function<bool(const std::string&)>& decodes) {
    const OpenFolder::EntryKind kind = folder.entryKind(name);
    // Nothing to keep; a folder in the file's place makes the write itself fail.
    if (kind == OpenFolder::EntryKind::missing || kind == OpenFolder::EntryKind::folder)
        return;
    const auto bytes = folder.readFile(name);
    if (!bytes) {
        moveAside(folder, name);
        return;
    }
    if (decodes(*bytes))
        return;
    const std::string copy = brokenCopy(name);
    if (folder.entryKind(copy) == OpenFolder::EntryKind::file)
        return;
    folder.replaceFile(copy, *bytes);
}

} // namespace orvel
