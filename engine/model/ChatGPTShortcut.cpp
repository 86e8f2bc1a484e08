#include "engine/model/ChatGPTShortcut.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "core/FileIO.h"
#include "core/Locked.h"
#include "core/Trim.h"
#include "core/Unicode.h"
#include "core/Uuid.h"
#include "engine/model/ChatError.h"
#include "engine/model/ChildProcess.h"

namespace orvel::ChatGPTShortcut {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto listingLifetime = std::chrono::seconds(60);

struct ShortcutList {
    Clock::time_point listedAt;
    std::set<std::string> names;
};

Locked<std::optional<ShortcutList>>& shortcutCache() {
    static Locked<std::optional<ShortcutList>> cache;
    return cache;
}

std::set<std::string> namesIn(const std::string& output) {
    std::set<std::string> names;
    const std::string text = text::decodeUtf8Lossy(output);
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            names.insert(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::filesystem::path temporaryFolder(const AppleModels::Platform& platform) {
    return platform.temporaryFolder.empty() ? std::filesystem::temp_directory_path()
                                            : platform.temporaryFolder;
}

// The input goes to a hidden neighbour first, so the shortcut never reads half a file.
void writeAtomically(const std::filesystem::path& path, const std::string& contents) {
    auto partial = path;
    partial.replace_filename(std::string(".").append(path.filename().string()).append(".partial"));
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "Could not write " + path.string());
    std::size_t written = 0;
    int error = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(partial.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw std::system_error(error, std::generic_category(), "Could not write " + path.string());
    }
}

// Removes the request's files on every way out.
class TemporaryFiles {
  public:
    explicit TemporaryFiles(const std::filesystem::path& folder)
        : input(folder / ("orvel-" + Uuid::generate() + ".txt")),
          output(folder / ("orvel-" + Uuid::generate() + ".txt")) {}
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;
    ~TemporaryFiles() {
        std::error_code ignored;
        std::filesystem::remove(input, ignored);
        std::filesystem::remove(output, ignored);
    }

    const std::filesystem::path input;
    const std::filesystem::path output;
};

} // namespace

std::set<std::string> installedShortcuts(const AppleModels::Platform& platform, std::stop_token stop) {
    return shortcutCache().withLock([&](std::optional<ShortcutList>& cached) {
        if (cached && Clock::now() - cached->listedAt < listingLifetime)
            return cached->names;
        ChildProcess::Result listing;
        try {
            listing =
                ChildProcess::run(platform.shortcutsTool, {"list"},
                                  {.captureOutput = true, .timeLimit = platform.listingTimeLimit}, stop);
        } catch (const std::system_error&) {
            return std::set<std::string>();
        } catch (const ChildProcess::TimedOut&) {
            return std::set<std::string>();
        }
        cached = ShortcutList{Clock::now(), namesIn(listing.output)};
        return cached->names;
    });
}

void forgetInstalledShortcuts() {
    shortcutCache().withLock([](std::optional<ShortcutList>& cached) { cached.reset(); });
}

std::string ask(const std::string& input, const AppleModels::Platform& platform, std::stop_token stop) {
    const TemporaryFiles files(temporaryFolder(platform));
    writeAtomically(files.input, input);
    const auto run = ChildProcess::run(platform.shortcutsTool,
                                       {"run", std::string(AppleModels::shortcutName), "--input-path",
                                        files.input.string(), "--output-path", files.output.string(),
                                        "--output-type", "public.text"},
                                       {}, stop);
    if (run.status != 0)
        throw ChatError::unavailable("the " + std::string(AppleModels::shortcutName) +
                                     " shortcut failed (exit code " + std::to_string(run.status) +
                                     "); check that the ChatGPT extension is on in System Settings > Apple "
                                     "Intelligence & Siri");
    const auto answer = FileIO::readIfPresent(files.output);
    if (!answer || !text::isValidUtf8(*answer) || text::trimmed(*answer).empty())
        throw ChatError::emptyResponse();
    return *answer;
}

} // namespace orvel::ChatGPTShortcut
