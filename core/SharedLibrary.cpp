#include "core/SharedLibrary.h"

#include <stdexcept>
#include <utility>

#include <dlfcn.h>

namespace orvel {
namespace {

std::string loaderError() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

} // namespace

SharedLibrary::SharedLibrary(std::string soname)
    : m_soname(std::move(soname)), m_handle(dlopen(m_soname.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (!m_handle)
        throw std::runtime_error("The system library " + m_soname + " could not be loaded: " + loaderError());
}

void* SharedLibrary::address(const char* name) const {
    dlerror();
    void* found = dlsym(m_handle, name);
    if (!found)
        throw std::runtime_error("The system library " + m_soname + " has no function " + name + ": " +
                                 loaderError());
    return found;
}

} // namespace orvel
