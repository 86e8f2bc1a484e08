// Readers of what other processes and servers send: links from other programs and web pages, the
// message of a later start, notifications on the session bus, HTTP header values and the process table.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "Orvel/app/InstanceMessage.h"
#include "Orvel/state/DeepLink.h"
#include "core/Unicode.h"
#include "engine/apps/RunningBundles.h"
#include "engine/capture/NotificationBus.h"
#include "engine/model/DelaySeconds.h"
#include "engine/model/HttpTransfer.h"
#include "fuzz/FuzzTarget.h"

namespace orvel::fuzz {
namespace {

namespace fs = std::filesystem;

void deepLink(std::string_view bytes) {
    const auto link = parseDeepLink(bytes);
    if (!link)
        return;
    require(!link->app.empty() && text::isValidUtf8(link->app), "a link's app is UTF-8 text");
    for (const std::string* part : {&link->app, link->language ? &*link->language : nullptr})
        if (part)
            for (const char c : *part)
                require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f,
                        "a link holds no control character");
}

// Whatever was received, the links of a whole message hold no line break and, sent again, read back the
// same.
void instanceMessage(std::string_view bytes) {
    if (InstanceMessage::state(bytes) != InstanceMessage::State::complete)
        return;
    const auto links = InstanceMessage::links(bytes);
    for (const auto& link : links)
        require(!link.empty() && link.find('\n') == std::string::npos, "a link is one non-empty line");
    const std::string again = InstanceMessage::of(links);
    require(InstanceMessage::state(again) == InstanceMessage::State::complete, "a written message is whole");
    require(InstanceMessage::links(again) == links, "a written message reads back the same links");
}

void userInfo(std::string_view bytes) {
    if (const auto info = Notification::userInfoFrom(bytes)) {
        require(info->is_object(), "user info is an object");
        json::dump(*info);
        const json::Json copy = *info;
        require(copy == *info, "user info copies whole");
    }
}

// A Retry-After value, then a Location reference resolved against a base URL.
void headerValues(std::string_view bytes) {
    const auto parts = pieces(bytes, 3);
    if (const auto delay = parseDelaySeconds(parts[0]))
        require(*delay >= 0 && std::isfinite(*delay), "a delay can be waited for");
    const std::string base(parts[1]);
    if (const auto resolved = HttpTransfer::resolved(base, std::string(parts[2])))
        require(HttpTransfer::isSendable(*resolved), "a resolved location can be sent to");
    HttpTransfer::parts(base);
}

// A process table of one process whose "stat" is the memory file, made once per process.
const fs::path& processRoot() {
    static const fs::path root = [] {
        const fs::path scratch = scratchFolder("orvel-fuzz-proc");
        fs::create_directories(scratch / "42");
        fs::create_symlink(MemoryFile::shared().holding(""), scratch / "42" / "stat");
        return scratch;
    }();
    return root;
}

// The executable's path, then the process's "stat".
void processTable(std::string_view bytes) {
    const auto parts = pieces(bytes, 2);
    const fs::path& root = processRoot();
    const fs::path executable(parts[0]);
    MemoryFile::shared().holding(parts[1]);
    std::error_code ignored;
    fs::remove(root / "42" / "exe", ignored);
    if (!executable.empty())
        fs::create_symlink(executable, root / "42" / "exe", ignored);
    if (const auto bundle = RunningBundles::enclosingBundle(executable))
        require(bundle->extension() == ".app", "a bundle's folder ends in .app");
    for (const auto& running : RunningBundles::applications(root))
        require(running.processIdentifier == 42, "the one process is found");
}

} // namespace

std::vector<NamedTarget> inputTargets() {
    return {{"deeplink", deepLink},
            {"instance", instanceMessage},
            {"userinfo", userInfo},
            {"headers", headerValues},
            {"proc", processTable}};
}

} // namespace orvel::fuzz
