#pragma once
// The system calls through which a folder is opened and a file of it replaced. They are reached through one
// object so that a test can stand in for them: to see in which order the bytes, the flushes and the renames
// reach the disk, and to make any one of them fail. Each call answers as the system call it names does (-1
// and errno on failure).

#include <string>
#include <string_view>

#include <sys/types.h>

namespace orvel {

class FileCalls {
  public:
    virtual ~FileCalls() = default;

    // The folder `name` of the open folder `parent` (or of the working folder for AT_FDCWD, where `name`
    // may be a whole path), opened to work in; a link at `name` itself is followed only when asked.
    virtual int openFolder(int parent, const std::string& name, bool followLink);
    // A new file `name` in the open folder `folder`, for writing; never through a link, never an existing
    // file.
    virtual int createFile(int folder, const std::string& name);
    virtual ssize_t write(int file, std::string_view data);
    // Flushes the file's bytes to disk.
    virtual int syncFile(int file);
    virtual int close(int file);
    virtual int rename(int folder, const std::string& from, const std::string& to);
    // As rename(), but fails with EEXIST when `to` exists, whatever it is.
    virtual int renameWithoutReplacing(int folder, const std::string& from, const std::string& to);
    virtual int remove(int folder, const std::string& name);
    // Flushes the folder's entries (its renames and removals) to disk.
    virtual int syncFolder(int folder);

    // The calls of the calling thread: the system's, unless a Substitute stands in.
    static FileCalls& current();

    // Puts `calls` in the system's place on the calling thread for its lifetime.
    class Substitute {
      public:
        explicit Substitute(FileCalls& calls);
        ~Substitute();
        Substitute(const Substitute&) = delete;
        Substitute& operator=(const Substitute&) = delete;

      private:
        FileCalls* m_previous;
    };
};

} // namespace orvel
