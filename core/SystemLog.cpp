#include "core/SystemLog.h"

#include <mutex>
#include <string>

#include <syslog.h>

namespace orvel::SystemLog {

void info(std::string_view category, std::string_view message) {
    static std::once_flag opened;
    std::call_once(opened, [] { openlog("Orvel", LOG_PID, LOG_USER); });
    const std::string line = std::string(category) + ": " + std::string(message);
    syslog(LOG_INFO, "%s", line.c_str());
}

} // namespace orvel::SystemLog
