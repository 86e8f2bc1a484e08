// The one fuzzing binary: it runs the target its file name or $ORVEL_FUZZ_TARGET names, so that every
// target shares one link of the engine.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/FuzzTarget.h"

namespace {

orvel::fuzz::Target selected = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    std::string name = *argc > 0 ? std::filesystem::path((*argv)[0]).filename().string() : std::string();
    if (name.starts_with("fuzz_"))
        name.erase(0, 5);
    else if (const char* chosen = std::getenv("ORVEL_FUZZ_TARGET"))
        name = chosen;
    if (name == "--list") {
        for (const auto& target : orvel::fuzz::targets())
            std::printf("%.*s\n", static_cast<int>(target.name.size()), target.name.data());
        std::exit(0);
    }
    for (const auto& target : orvel::fuzz::targets())
        if (target.name == name)
            selected = target.run;
    if (!selected) {
        std::fprintf(stderr,
                     "No fuzz target named \"%s\". Run it as fuzz_<name> or set ORVEL_FUZZ_TARGET to one of "
                     "(or to --list):\n",
                     name.c_str());
        for (const auto& target : orvel::fuzz::targets())
            std::fprintf(stderr, "  %.*s\n", static_cast<int>(target.name.size()), target.name.data());
        std::exit(2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    selected(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
