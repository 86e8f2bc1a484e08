#pragma once
// The progress of one run, counted as its batches finish in parallel.

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace orvel {

class Counter {
  public:
    // String id to the reason it failed.
    using Failures = std::map<std::string, std::string>;

    // Adds `count` to the strings done and takes in `failed` (a later reason replaces an earlier one for
    // the same id); returns the new count and all failures so far.
    std::pair<int, Failures> record(int count, const Failures& failed);

    Failures failed() const;

  private:
    mutable std::mutex m_lock;
    int m_done = 0;
    Failures m_failed;
};

} // namespace orvel
