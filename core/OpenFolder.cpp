#include "core/OpenFolder.h"

#include <cerrno>
#include <memory>
#include <system_error>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/FileCalls.h"
#include "core/FileIO.h"
#include "core/FolderWrites.h"
#include "core/PathComponent.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

int openFolderAt(int parent, const char* name, bool followLink) {
    return FileCalls::current().openFolder(parent, name, followLink);
}

// With O_DIRECTORY the system reports a link like a file (ENOTDIR); a link is told apart, since it is
// what a hostile folder would hold.
[[noreturn]] void failToOpen(int parent, const char* name, const fs::path& path, int error) {
    struct stat status {};
    if (error == ELOOP || (error == ENOTDIR && ::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                           S_ISLNK(status.st_mode)))
        fail("A symbolic link in an app's data folder is not followed", path, ELOOP);
    fail("Cannot open the folder", path, error);
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd;
};

} // namespace

OpenFolder OpenFolder::open(const fs::path& path) {
    const int fd = openFolderAt(AT_FDCWD, path.c_str(), true);
    if (fd < 0)
        failToOpen(AT_FDCWD, path.c_str(), path, errno);
    return OpenFolder(fd, path);
}

OpenFolder OpenFolder::openBelow(const fs::path& root, const fs::path& path, bool create) {
    const fs::path relative = path.lexically_normal().lexically_relative(root.lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        fail("The path lies outside the app's data folder", path, EINVAL);
    if (create)
        fs::create_directories(root.parent_path());
    fs::path current = root;
    Descriptor folder(openFolderAt(AT_FDCWD, root.c_str(), false));
    if (folder.get() < 0 && errno == ENOENT && create) {
        if (::mkdir(root.c_str(), 0777) != 0 && errno != EEXIST)
            fail("Cannot create the folder", root, errno);
        folder.reset(openFolderAt(AT_FDCWD, root.c_str(), false));
    }
    if (folder.get() < 0)
        failToOpen(AT_FDCWD, root.c_str(), root, errno);
    for (const auto& component : relative) {
        if (component == "." || component.empty())
            continue;
        current /= component;
        int next = openFolderAt(folder.get(), component.c_str(), false);
        if (next < 0 && errno == ENOENT && create) {
            if (::mkdirat(folder.get(), component.c_str(), 0777) != 0 && errno != EEXIST)
                fail("Cannot create the folder", current, errno);
            next = openFolderAt(folder.get(), component.c_str(), false);
        }
        if (next < 0)
            failToOpen(folder.get(), component.c_str(), current, errno);
        folder.reset(next);
    }
    return OpenFolder(folder.release(), path);
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void OpenFolder::replaceFile(const std::string& name, std::string_view data) const {
    replaceFile(name, [data](const ByteSink& write) { write(data); });
}

void OpenFolder::replaceFile(const std::string& name, const ByteProducer& produce) const {
    FolderWrites writes(*this);
    writes.replace(name, produce);
    writes.commit();
}

OpenFolder::EntryKind OpenFolder::entryKind(const std::string& name) const {
    struct stat status {};
    if (::fstatat(m_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? EntryKind::missing : EntryKind::other;
    if (S_ISREG(status.st_mode))
        return EntryKind::file;
    if (S_ISDIR(status.st_mode))
        return EntryKind::folder;
    return EntryKind::other;
}

std::optional<std::string> OpenFolder::readFile(const std::string& name) const {
    if (!isSafePathComponent(name))
        return std::nullopt;
    return FileIO::readInFolderIfPresent(m_fd, name);
}

int OpenFolder::renameWithoutReplacing(const std::string& from, const std::string& to) const {
    if (!isSafePathComponent(from) || !isSafePathComponent(to))
        return EINVAL;
    return FileCalls::current().renameWithoutReplacing(m_fd, from, to) == 0 ? 0 : errno;
}

std::vector<std::string> OpenFolder::entryNames() const {
    std::vector<std::string> names;
    // The listing reads through a descriptor of its own, which closedir() closes.
    const int listing = ::dup(m_fd);
    if (listing < 0)
        return names;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::fdopendir(listing), ::closedir);
    if (!directory) {
        ::close(listing);
        return names;
    }
    ::rewinddir(directory.get());
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    return names;
}

} // namespace orvel
