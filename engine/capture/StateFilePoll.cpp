#include "engine/capture/StateFilePoll.h"

#include <sys/stat.h>

namespace orvel {

StateFilePoll::StateFilePoll(std::filesystem::path file, Reader read)
    : m_file(std::move(file)), m_read(std::move(read)) {}

std::optional<AppState> StateFilePoll::read() {
    // Taken before the read: a file replaced in between is read again at the next poll.
    const std::optional<Stamp> now = stamp();
    if (!now || now != m_stamp) {
        m_state = m_read();
        m_stamp = now;
    }
    return m_state;
}

// The link itself is stamped: the reader refuses links, and a link's target is no concern here.
std::optional<StateFilePoll::Stamp> StateFilePoll::stamp() const {
    struct stat status {};
    if (::lstat(m_file.c_str(), &status) != 0)
        return std::nullopt;
    return Stamp{.device = status.st_dev,
                 .inode = status.st_ino,
                 .size = status.st_size,
                 .modifiedSeconds = static_cast<long long>(status.st_mtim.tv_sec),
                 .modifiedNanoseconds = static_cast<long long>(status.st_mtim.tv_nsec)};
}

} // namespace orvel
