#include "core/WrittenFiles.h"

#include <map>
#include <mutex>
#include <string>

#include "core/FileStamp.h"

namespace orvel::WrittenFiles {
namespace {

struct Records {
    std::mutex mutex;
    std::map<std::string, FileStamp> stamps;
};

Records& records() {
    static Records shared;
    return shared;
}

} // namespace

void remember(const std::filesystem::path& path) {
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    Records& all = records();
    const std::lock_guard lock(all.mutex);
    if (stamp)
        all.stamps.insert_or_assign(path.string(), *stamp);
    else
        all.stamps.erase(path.string());
}

void forget(const std::filesystem::path& path) {
    Records& all = records();
    const std::lock_guard lock(all.mutex);
    all.stamps.erase(path.string());
}

bool isUnchanged(const std::filesystem::path& path) {
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    Records& all = records();
    const std::lock_guard lock(all.mutex);
    const auto found = all.stamps.find(path.string());
    return stamp && found != all.stamps.end() && found->second == *stamp;
}

} // namespace orvel::WrittenFiles
