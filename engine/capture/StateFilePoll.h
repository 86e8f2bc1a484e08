#pragma once
// The live link's waits look at "state.json" every 0.1 s, and a large state takes longer to decode than
// that. A poll decodes the file again only when it was replaced or its size or modification time
// changed; otherwise it gives the state it decoded last.

#include <filesystem>
#include <functional>
#include <optional>

#include <sys/types.h>

#include "core/AppState.h"

namespace orvel {

class StateFilePoll {
  public:
    using Reader = std::function<std::optional<AppState>()>;

    // `read` decodes the state from `file`.
    StateFilePoll(std::filesystem::path file, Reader read);

    std::optional<AppState> read();

  private:
    // What tells one version of the file from another without reading it.
    struct Stamp {
        dev_t device;
        ino_t inode;
        off_t size;
        long long modifiedSeconds;
        long long modifiedNanoseconds;

        bool operator==(const Stamp&) const = default;
    };

    std::optional<Stamp> stamp() const;

    std::filesystem::path m_file;
    Reader m_read;
    std::optional<Stamp> m_stamp;
    std::optional<AppState> m_state;
};

} // namespace orvel
