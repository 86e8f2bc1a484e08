#include "core/FileCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {
namespace {

FileCalls& systemCalls() {
    static FileCalls calls;
    return calls;
}

thread_local FileCalls* substitute = nullptr;

} // namespace

int FileCalls::openFolder(int parent, const std::string& name, bool followLink) {
    int fd = -1;
    do
        fd = ::openat(parent, name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    while (fd < 0 && errno == EINTR);
    return fd;
}

int FileCalls::createFile(int folder, const std::string& name) {
    int fd = -1;
    do
        fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t FileCalls::write(int file, std::string_view data) {
    return ::write(file, data.data(), data.size());
}

int FileCalls::syncFile(int file) {
    return ::fsync(file);
}

int FileCalls::close(int file) {
    return ::close(file);
}

int FileCalls::rename(int folder, const std::string& from, const std::string& to) {
    return ::renameat(folder, from.c_str(), folder, to.c_str());
}

int FileCalls::renameWithoutReplacing(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    // A file system that cannot refuse to replace: the check and the rename are two steps there.
    struct stat status {};
    if (::fstatat(folder, to.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(folder, from, to);
}

int FileCalls::remove(int folder, const std::string& name) {
    return ::unlinkat(folder, name.c_str(), 0);
}

int FileCalls::syncFolder(int folder) {
    return ::fsync(folder);
}

FileCalls& FileCalls::current() {
    return substitute ? *substitute : systemCalls();
}

FileCalls::Substitute::Substitute(FileCalls& calls) : m_previous(substitute) {
    substitute = &calls;
}

FileCalls::Substitute::~Substitute() {
    substitute = m_previous;
}

} // namespace orvel
