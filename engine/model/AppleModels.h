#pragma once
// The two model back-ends that need no key and no HTTP endpoint: the system's on-device model and
// ChatGPT reached by running a shortcut with the Shortcuts command line tool.

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/ChatMessage.h"
#include "engine/model/OnDeviceModel.h"

namespace orvel::AppleModels {

enum class Kind { onDevice, chatGPT };
inline constexpr std::array<Kind, 2> allKinds{Kind::onDevice, Kind::chatGPT};

// The endpoint text that selects the back-end: "apple:on-device" or "apple:chatgpt".
std::string_view rawValue(Kind kind);

// The kind an endpoint names, ignoring case and surrounding white space; nothing for any other endpoint.
std::optional<Kind> kind(std::string_view endpoint);

// The shortcut the person installs: a gear, a text-style variation selector, then "askChatGPT".
inline constexpr std::string_view shortcutName = "\u2699\uFE0E"
                                                 "askChatGPT";

// Whether the back-end can translate into `language` (a language code).
bool supports(std::string_view language, Kind kind);

// Why the back-end cannot be used now, or nothing when it can. For ChatGPT this may list the installed
// shortcuts (at most once a minute); a stop request ends that listing with CancellationError.
std::optional<std::string> availability(Kind kind, std::stop_token stop = {});

// The model's answer to `messages`, untrimmed. Throws ChatError, CancellationError, or the file and launch
// errors of the shortcut run.
std::string complete(const std::vector<ChatMessage>& messages, Kind kind, std::optional<double> temperature,
                     std::stop_token stop = {});

// Forgets the listed shortcuts so that the next check lists them again.
void forgetShortcutCache();

// What the back-ends run on. The defaults are this system's: no on-device model, the Shortcuts tool at
// its usual place, the user's temporary folder. Tests put in their own.
struct Platform {
    std::shared_ptr<OnDeviceModel> onDeviceModel;
    std::filesystem::path shortcutsTool = "/usr/bin/shortcuts";
    // Empty: the user's temporary folder.
    std::filesystem::path temporaryFolder;
    // A listing that takes longer is stopped and counts as a tool that could not be launched.
    std::chrono::milliseconds listingTimeLimit = std::chrono::seconds(15);
};

Platform platform();
void setPlatform(Platform platform);

} // namespace orvel::AppleModels
