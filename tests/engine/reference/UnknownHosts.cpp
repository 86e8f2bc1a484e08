// Plays a name server for the tests: every name under ".invalid" is unknown at once, without asking the
// real resolver (the tests reach no network beyond the loopback interface).

#include <cstring>
#include <string_view>

#include <dlfcn.h>
#include <netdb.h>

// Defined in the test program, this takes the place of the C library's lookup for every library loaded
// with it; other names go on to the real lookup.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto next = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && std::string_view(node).ends_with(".invalid"))
        return EAI_NONAME;
    return next(node, service, hints, result);
}
