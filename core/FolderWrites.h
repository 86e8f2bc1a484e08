#pragma once
// Files of one open folder replaced together, each atomically, for the price of one flush of the folder.
// Every file's bytes go to a hidden temporary file that is flushed to disk; only once all of them are
// written are they renamed over their targets (and the files asked to go removed), in the order they were
// asked for, and the folder is flushed once. A reader sees the old or the new content of each file, never
// a mixture; after a power loss each file holds one of them, and what one commit() renamed is never lost
// while what a later commit() in the same folder renamed is kept.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ByteSink.h"

namespace orvel {

class FileCalls;
class OpenFolder;

class FolderWrites {
  public:
    // `folder` outlives this object.
    explicit FolderWrites(const OpenFolder& folder);
    // Removes the temporary files of what was not committed.
    ~FolderWrites();
    FolderWrites(const FolderWrites&) = delete;
    FolderWrites& operator=(const FolderWrites&) = delete;

    // Writes `data` to a hidden temporary file beside `name` and flushes it; `name` is replaced at the
    // commit. `name` must be one plain path component. Throws std::filesystem::filesystem_error, with the
    // temporary file removed and nothing of the folder changed.
    void replace(const std::string& name, std::string_view data);
    // As above, with the bytes that `produce` hands over written as they come, so that they are never
    // held whole. What `produce` throws propagates in the same way, with the temporary file removed.
    void replace(const std::string& name, const ByteProducer& produce);
    // The file `name` goes at the commit, in its place among the replacements; a link is not followed, and
    // a missing file or a failed removal is no error.
    void remove(const std::string& name);
    // Makes every replacement and removal asked for since the last commit, in order, removes the
    // temporary files that earlier writes cut short left in the folder (regular files of the temporary
    // name's form that no write of this process is making and that no other process can still be
    // writing: not locked by their writer, and older than a write's start), then flushes the folder. Throws
    // std::filesystem::filesystem_error for the first rename that fails (the files before it are replaced,
    // the others keep their old content) or for the flush.
    void commit();

  private:
    void discard(FileCalls& calls, const std::string& temporary) const;
    void removeStaleTemporaries(FileCalls& calls) const;

    struct Step {
        std::string name;
        // None for a removal.
        std::optional<std::string> temporary;
    };

    const OpenFolder& m_folder;
    std::vector<Step> m_steps;
    // Steps before this one were made.
    std::size_t m_made = 0;
};

} // namespace orvel
