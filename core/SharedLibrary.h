#pragma once
// A system library opened when it is first called rather than at the program's start. The network, archive
// and digest libraries and the dozens they pull in (TLS stacks, directory and Kerberos clients) would
// otherwise take several megabytes of every window's memory for work that many sessions never do.

#include <string>

namespace orvel {

class SharedLibrary {
  public:
    // Opens the library `soname`, which stays loaded to the program's end. Throws std::runtime_error
    // naming the library and the loader's reason when it cannot be had.
    explicit SharedLibrary(std::string soname);

    // The library's function `name` as the pointer type `Function`; throws like the constructor when the
    // library has no such function (an older version than the one built against).
    template <typename Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(address(name));
    }

  private:
    void* address(const char* name) const;

    std::string m_soname;
    void* m_handle;
};

} // namespace orvel
