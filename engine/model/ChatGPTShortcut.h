#pragma once
// ChatGPT through the person's "askChatGPT" shortcut, run by the Shortcuts command line tool.

#include <set>
#include <stop_token>
#include <string>

#include "engine/model/AppleModels.h"

namespace orvel::ChatGPTShortcut {

// The names of the installed shortcuts, listed at most once a minute; concurrent callers wait for one
// listing. Empty when the tool cannot be launched or does not finish in time.
std::set<std::string> installedShortcuts(const AppleModels::Platform& platform, std::stop_token stop);

void forgetInstalledShortcuts();

// Runs the shortcut on `input` and returns what it wrote, untrimmed. Its files in the temporary folder
// are removed whatever happens, and a stop request ends the run at once.
std::string ask(const std::string& input, const AppleModels::Platform& platform, std::stop_token stop);

} // namespace orvel::ChatGPTShortcut
