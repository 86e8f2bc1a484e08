#include "core/FolderWrites.h"

#include <cerrno>
#include <chrono>
#include <exception>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "core/FileCalls.h"
#include "core/OpenFolder.h"
#include "core/PathComponent.h"
#include "core/StringsFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

void writeAll(FileCalls& calls, int file, std::string_view data, const fs::path& path) {
    while (!data.empty()) {
        const ssize_t written = calls.write(file, data);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("Cannot write the file", path, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Writes everything `produce` makes, flushes it and closes the file, which is closed also when a step
// fails.
void produceFlushAndClose(FileCalls& calls, int file, const ByteProducer& produce, const fs::path& path) {
    try {
        // A producer that swallows a failed write must not get its cut-short file renamed into place.
        std::exception_ptr writeFailure;
        produce([&](std::string_view piece) {
            if (writeFailure)
                std::rethrow_exception(writeFailure);
            try {
                writeAll(calls, file, piece, path);
            } catch (...) {
                writeFailure = std::current_exception();
                throw;
            }
        });
        if (writeFailure)
            std::rethrow_exception(writeFailure);
        // Flushed before any rename, so that no rename can expose an empty or partial file after a crash.
        if (calls.syncFile(file) != 0)
            fail("Cannot flush the file to disk", path, errno);
    } catch (...) {
        calls.close(file);
        throw;
    }
    // Closing reports the last write errors of some file systems, so its result counts.
    if (calls.close(file) != 0)
        fail("Cannot write the file", path, errno);
}

// The temporary files that writes of this process have made and not yet renamed or removed. Each name
// is new (its UUID), so the name alone tells one apart, and a name that is not here now never will be.
class TemporariesInFlight {
  public:
    static TemporariesInFlight& shared() {
        // Never destroyed: a write may still end while the program's statics go.
        static TemporariesInFlight* const registry = new TemporariesInFlight;
        return *registry;
    }
    void add(const std::string& name) {
        std::lock_guard lock(m_mutex);
        m_names.insert(name);
    }
    void remove(const std::string& name) {
        std::lock_guard lock(m_mutex);
        m_names.erase(name);
    }
    bool contains(const std::string& name) {
        std::lock_guard lock(m_mutex);
        return m_names.contains(name);
    }

  private:
    std::mutex m_mutex;
    std::set<std::string> m_names;
};

// A temporary file's writer holds a lock on it from just after creating it until it is closed, so that
// the writes of other processes into the same folder leave it alone. The lock is taken an instant after
// the file exists; a file younger than this may be in that instant, and is never taken for a leftover.
constexpr std::chrono::seconds lockTakenWithin{30};

void holdWhileWriting(int file) {
    // A fresh file that nothing else has open: this cannot wait. Where locks are not supported, the age
    // alone keeps the file.
    ::flock(file, LOCK_EX | LOCK_NB);
}

// Removes the temporary file `name` unless some process may still be writing it: one that holds its
// lock, or one too young to tell. Only a regular file, never through a link.
void removeIfNoWriterHolds(FileCalls& calls, int folder, const std::string& name) {
    const int file = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return;
    struct stat status {};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        now - std::chrono::seconds(status.st_mtim.tv_sec) - std::chrono::nanoseconds(status.st_mtim.tv_nsec) >
            lockTakenWithin &&
        ::flock(file, LOCK_EX | LOCK_NB) == 0)
        // Removed while the lock is held: a writer cannot take it up in between.
        calls.remove(folder, name);
    ::close(file);
}

} // namespace

FolderWrites::FolderWrites(const OpenFolder& folder) : m_folder(folder) {}

FolderWrites::~FolderWrites() {
    FileCalls& calls = FileCalls::current();
    for (std::size_t step = m_made; step < m_steps.size(); ++step)
        if (m_steps[step].temporary)
            discard(calls, *m_steps[step].temporary);
}

void FolderWrites::discard(FileCalls& calls, const std::string& temporary) const {
    calls.remove(m_folder.m_fd, temporary);
    TemporariesInFlight::shared().remove(temporary);
}

void FolderWrites::removeStaleTemporaries(FileCalls& calls) const {
    for (const std::string& name : m_folder.entryNames())
        if (StringsFiles::isTemporaryName(name) && !TemporariesInFlight::shared().contains(name))
            removeIfNoWriterHolds(calls, m_folder.m_fd, name);
}

void FolderWrites::replace(const std::string& name, std::string_view data) {
    replace(name, [data](const ByteSink& write) { write(data); });
}

void FolderWrites::replace(const std::string& name, const ByteProducer& produce) {
    if (!isSafePathComponent(name))
        fail("The name is not a plain file name", m_folder.path() / name, EINVAL);
    FileCalls& calls = FileCalls::current();
    std::string temporary = StringsFiles::temporaryName(name);
    const fs::path temporaryPath = m_folder.path() / temporary;
    // Known before it exists: another write into this folder must not take it for a stale one.
    TemporariesInFlight::shared().add(temporary);
    const int file = calls.createFile(m_folder.m_fd, temporary);
    if (file < 0) {
        const int error = errno;
        TemporariesInFlight::shared().remove(temporary);
        fail("Cannot create the file", temporaryPath, error);
    }
    holdWhileWriting(file);
    try {
        produceFlushAndClose(calls, file, produce, temporaryPath);
    } catch (...) {
        discard(calls, temporary);
        throw;
    }
    m_steps.push_back({name, std::move(temporary)});
}

void FolderWrites::remove(const std::string& name) {
    if (isSafePathComponent(name))
        m_steps.push_back({name, std::nullopt});
}

void FolderWrites::commit() {
    if (m_made == m_steps.size())
        return;
    FileCalls& calls = FileCalls::current();
    for (; m_made < m_steps.size(); ++m_made) {
        const Step& step = m_steps[m_made];
        if (!step.temporary)
            calls.remove(m_folder.m_fd, step.name);
        else if (calls.rename(m_folder.m_fd, *step.temporary, step.name) != 0) {
            const int error = errno;
            fail("Cannot replace the file", m_folder.path() / step.name, error);
        } else
            TemporariesInFlight::shared().remove(*step.temporary);
    }
    m_steps.clear();
    m_made = 0;
    // What a write cut short by a kill or a power loss left is removed by the next write into the folder,
    // with the same flush.
    removeStaleTemporaries(calls);
    // The renames and removals live in the folder: only a flushed folder keeps them through a power loss.
    if (calls.syncFolder(m_folder.m_fd) != 0 && errno != EINVAL) {
        const int error = errno;
        fail("Cannot flush the folder to disk", m_folder.path(), error);
    }
}

} // namespace orvel
