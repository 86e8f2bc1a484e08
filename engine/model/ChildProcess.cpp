#include "engine/model/ChildProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/Cancellation.h"

namespace orvel::ChildProcess {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd;
};

struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

int decodedStatus(int waitStatus) {
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return WTERMSIG(waitStatus);
    return waitStatus;
}

[[noreturn]] void launchFailed(int error, const std::filesystem::path& program) {
    throw std::system_error(error, std::generic_category(), "Could not launch " + program.string());
}

pid_t spawn(const std::filesystem::path& program, const std::vector<std::string>& arguments, int outputFd) {
    SpawnSetup setup;
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&setup.actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Its own process group, so that giving up on the child also ends whatever it started.
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&setup.attributes, &signals);

    std::vector<std::string> storage{program.string()};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int error =
        posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    if (error != 0)
        launchFailed(error, program);
    return pid;
}

class Child {
  public:
    explicit Child(pid_t pid) : m_pid(pid), m_exitFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    // Whatever way the wait ends, no child of ours is left running or unreaped.
    ~Child() {
        if (!m_reaped)
            kill();
    }

    int exitFd() const { return m_reaped ? -1 : m_exitFd.get(); }
    // Without a process descriptor the end of the child is found by looking often.
    bool needsPolling() const { return !m_reaped && !m_exitFd.isOpen(); }
    bool reaped() const { return m_reaped; }
    int status() const { return m_status; }

    bool checkExited() {
        if (m_reaped)
            return true;
        int waitStatus = 0;
        if (::waitpid(m_pid, &waitStatus, WNOHANG) == m_pid) {
            m_reaped = true;
            m_status = decodedStatus(waitStatus);
        }
        return m_reaped;
    }

    void kill() {
        ::kill(-m_pid, SIGKILL);
        if (m_reaped)
            return;
        ::kill(m_pid, SIGKILL);
        int waitStatus = 0;
        while (::waitpid(m_pid, &waitStatus, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
        m_status = decodedStatus(waitStatus);
    }

  private:
    pid_t m_pid;
    FileDescriptor m_exitFd;
    bool m_reaped = false;
    int m_status = 0;
};

} // namespace

Result run(const std::filesystem::path& program, const std::vector<std::string>& arguments,
           const Options& options, std::stop_token stop) {
    throwIfCancelled(stop);
    FileDescriptor readEnd;
    pid_t pid = -1;
    {
        FileDescriptor writeEnd;
        if (options.captureOutput) {
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC) != 0)
                launchFailed(errno, program);
            readEnd.reset(fds[0]);
            writeEnd.reset(fds[1]);
        }
        pid = spawn(program, arguments, writeEnd.get());
    }
    Child child(pid);
    FileDescriptor wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    std::stop_callback onStop(stop, [&wake] {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(wake.get(), &one, sizeof one);
    });
    using Clock = std::chrono::steady_clock;
    const auto deadline = options.timeLimit ? std::optional(Clock::now() + *options.timeLimit) : std::nullopt;

    Result result;
    std::array<char, 8192> buffer;
    while (true) {
        if (stop.stop_requested()) {
            child.kill();
            throw CancellationError();
        }
        if (child.checkExited() && !readEnd.isOpen())
            break;
        int waitMs = -1;
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            if (left <= 0) {
                child.kill();
                throw TimedOut(program.string() + " did not finish in time and was stopped.");
            }
            waitMs = static_cast<int>(std::min<long long>(left, 60'000));
        }
        if (child.needsPolling() || !wake.isOpen())
            waitMs = waitMs < 0 ? 10 : std::min(waitMs, 10);

        std::array<pollfd, 3> watched{};
        nfds_t count = 0;
        const int outputSlot = readEnd.isOpen() ? static_cast<int>(count) : -1;
        if (readEnd.isOpen())
            watched[count++] = {readEnd.get(), POLLIN, 0};
        if (child.exitFd() >= 0)
            watched[count++] = {child.exitFd(), POLLIN, 0};
        if (wake.isOpen())
            watched[count++] = {wake.get(), POLLIN, 0};
        if (::poll(watched.data(), count, waitMs) < 0 && errno != EINTR)
            launchFailed(errno, program);
        if (outputSlot >= 0 && watched[outputSlot].revents != 0) {
            const ssize_t n = ::read(readEnd.get(), buffer.data(), buffer.size());
            if (n > 0)
                result.output.append(buffer.data(), static_cast<std::size_t>(n));
            else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                readEnd.reset();
        }
    }
    result.status = child.status();
    return result;
}

} // namespace orvel::ChildProcess
