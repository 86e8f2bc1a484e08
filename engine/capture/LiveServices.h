#pragma once
// What the live link to a target app goes through: the notification bus for commands, the running
// processes, the clock of its waits, and the settings folder whose own folder holds other apps' defaults. The
// application passes the session's services; tests pass fakes.

#include <filesystem>
#include <optional>

#include "engine/apps/AppPlatform.h"
#include "engine/capture/LiveClock.h"
#include "engine/capture/NotificationBus.h"

namespace orvel {

struct LiveServices {
    NotificationBus& bus;
    const AppPlatform& platform = AppPlatform::system();
    LiveClock& clock = LiveClock::system();
    // The application's settings folder (absent: DefaultsStore::defaultFolder()); target apps' defaults
    // are kept in a folder of their own inside it (AppLink::defaults()).
    std::optional<std::filesystem::path> defaultsFolder;
};

} // namespace orvel
