#pragma once
// Lines for the system log, where a person or a support request finds what the program did in the
// background.

#include <string_view>

namespace orvel::SystemLog {

// One info-level line under the ident "Orvel": the category, ": " and the message, unredacted.
void info(std::string_view category, std::string_view message);

} // namespace orvel::SystemLog
