#include "engine/model/AppleModels.h"

#include <mutex>

#include "core/Cancellation.h"
#include "core/Trim.h"
#include "core/Unicode.h"
#include "engine/model/ChatError.h"
#include "engine/model/ChatGPTShortcut.h"

namespace orvel::AppleModels {
namespace {

// Also the reason given where the platform has no on-device model at all.
constexpr std::string_view needsNewerSystem = "needs macOS 26 or later";

struct PlatformStorage {
    std::mutex lock;
    Platform platform;
};

PlatformStorage& platformStorage() {
    static PlatformStorage storage;
    return storage;
}

std::string joined(const std::vector<ChatMessage>& messages, bool system) {
    std::string text;
    bool first = true;
    for (const auto& message : messages) {
        if ((message.role == "system") != system)
            continue;
        if (!first)
            text += "\n\n";
        text += message.content;
        first = false;
    }
    return text;
}

std::optional<std::string> onDeviceAvailability(const Platform& platform) {
    if (!platform.onDeviceModel)
        return std::string(needsNewerSystem);
    switch (platform.onDeviceModel->availability()) {
    case OnDeviceModel::Availability::available:
        return std::nullopt;
    case OnDeviceModel::Availability::deviceNotEligible:
        return "this Mac cannot run Apple Intelligence";
    case OnDeviceModel::Availability::appleIntelligenceNotEnabled:
        return "Apple Intelligence is turned off in System Settings";
    case OnDeviceModel::Availability::modelNotReady:
        return "the model is still downloading";
    case OnDeviceModel::Availability::otherReason:
        break;
    }
    return "the model is not available";
}

std::string askOnDevice(const std::vector<ChatMessage>& messages, std::optional<double> temperature,
                        const Platform& platform, std::stop_token stop) {
    if (auto reason = onDeviceAvailability(platform))
        throw ChatError::unavailable(*reason);
    try {
        return platform.onDeviceModel->respond(joined(messages, true), joined(messages, false), temperature,
                                               stop);
    } catch (const OnDeviceModel::GenerationError& error) {
        using Kind = OnDeviceModel::GenerationError::Kind;
        switch (error.kind()) {
        case Kind::exceededContextWindowSize:
            throw ChatError::unavailable(
                "the batch is too long for this model; use fewer strings per request");
        case Kind::unsupportedLanguageOrLocale:
            throw ChatError::unavailable("this model does not support the language");
        case Kind::rateLimited:
            throw ChatError::rateLimited(10, error.what());
        case Kind::other:
            break;
        }
        throw ChatError::unavailable(error.what());
    }
}

} // namespace

std::string_view rawValue(Kind kind) {
    return kind == Kind::onDevice ? "apple:on-device" : "apple:chatgpt";
}

std::optional<Kind> kind(std::string_view endpoint) {
    const std::string normalized = text::lowercased(text::trimmed(endpoint));
    for (const Kind candidate : allKinds)
        if (normalized == rawValue(candidate))
            return candidate;
    return std::nullopt;
}

bool supports(std::string_view language, Kind kind) {
    if (kind == Kind::chatGPT)
        return true;
    const Platform current = platform();
    return current.onDeviceModel && current.onDeviceModel->supportsLocale(language);
}

std::optional<std::string> availability(Kind kind, std::stop_token stop) {
    const Platform current = platform();
    if (kind == Kind::onDevice)
        return onDeviceAvailability(current);
    if (ChatGPTShortcut::installedShortcuts(current, stop).contains(std::string(shortcutName)))
        return std::nullopt;
    return "needs the " + std::string(shortcutName) + " shortcut";
}

std::string complete(const std::vector<ChatMessage>& messages, Kind kind, std::optional<double> temperature,
                     std::stop_token stop) {
    throwIfCancelled(stop);
    const Platform current = platform();
    if (kind == Kind::onDevice)
        return askOnDevice(messages, temperature, current, stop);
    return ChatGPTShortcut::ask(joined(messages, true) + "\n\n" + joined(messages, false), current, stop);
}

void forgetShortcutCache() {
    ChatGPTShortcut::forgetInstalledShortcuts();
}

Platform platform() {
    auto& storage = platformStorage();
    std::lock_guard guard(storage.lock);
    return storage.platform;
}

void setPlatform(Platform platform) {
    auto& storage = platformStorage();
    std::lock_guard guard(storage.lock);
    storage.platform = std::move(platform);
}

} // namespace orvel::AppleModels
