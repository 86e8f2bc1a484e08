#pragma once
// A disk that takes no bytes while it is full: every file write of the calling thread fails with ENOSPC,
// as a full disk answers, until the test frees it.

#include <cerrno>
#include <string_view>

#include "core/FileCalls.h"

namespace orvel::testing {

class FullDisk : public FileCalls {
  public:
    bool full = true;

    ssize_t write(int file, std::string_view data) override {
        if (full) {
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(file, data);
    }

  private:
    FileCalls::Substitute m_substitute{*this};
};

} // namespace orvel::testing
