#pragma once
// The system's file calls, made as usual and written down, on the calling thread and on the threads it
// hands them to: "create", "write",
// "sync", "close", "rename" and "remove" with the name of the file they serve (a temporary file by the
// name of its target), "discard" for the removal of a temporary file, and "sync folder". One call may be made
// to fail instead, with EIO.

#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/FileCalls.h"

namespace orvel::testing {

class RecordingFileCalls : public FileCalls {
  public:
    // `failing` is the call that fails, as it is written down ("sync Main.strings"); none when empty.
    explicit RecordingFileCalls(std::string failing = {})
        : m_failing(std::move(failing)), m_substitute(*this) {}

    // Once no call is under way.
    const std::vector<std::string>& calls() const { return m_calls; }

    // The target of a temporary file (".Main.strings.<UUID>.tmp" serves "Main.strings").
    static std::string served(const std::string& name) {
        constexpr std::size_t uuidAndSuffix = 1 + 36 + 4;
        if (name.size() > 1 + uuidAndSuffix && name.front() == '.' && name.ends_with(".tmp"))
            return name.substr(1, name.size() - 1 - uuidAndSuffix);
        return name;
    }

    int createFile(int folder, const std::string& name) override {
        if (fails("create " + served(name)))
            return -1;
        const int file = FileCalls::createFile(folder, name);
        std::lock_guard lock(m_mutex);
        m_names[file] = served(name);
        return file;
    }
    ssize_t write(int file, std::string_view data) override {
        return fails("write " + nameOf(file)) ? -1 : FileCalls::write(file, data);
    }
    int syncFile(int file) override { return fails("sync " + nameOf(file)) ? -1 : FileCalls::syncFile(file); }
    int close(int file) override {
        // The descriptor goes whatever is reported.
        const bool failed = fails("close " + nameOf(file));
        const int result = FileCalls::close(file);
        return failed ? -1 : result;
    }
    int rename(int folder, const std::string& from, const std::string& to) override {
        return fails("rename " + to) ? -1 : FileCalls::rename(folder, from, to);
    }
    int remove(int folder, const std::string& name) override {
        const std::string target = served(name);
        return fails((target == name ? "remove " : "discard ") + target) ? -1
                                                                         : FileCalls::remove(folder, name);
    }
    int syncFolder(int folder) override { return fails("sync folder") ? -1 : FileCalls::syncFolder(folder); }

  private:
    std::string nameOf(int file) {
        std::lock_guard lock(m_mutex);
        return m_names[file];
    }
    bool fails(std::string call) {
        std::lock_guard lock(m_mutex);
        const bool failing = call == m_failing;
        m_calls.push_back(std::move(call));
        if (failing)
            errno = EIO;
        return failing;
    }

    std::string m_failing;
    std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::map<int, std::string> m_names;
    FileCalls::Substitute m_substitute;
};

} // namespace orvel::testing
