#pragma once
// What the model settings form asks about the two Apple back-ends: whether each can be used now, and the
// shortcut the ChatGPT back-end needs. An interface so that tests and screenshots script the answers.

#include <filesystem>
#include <optional>
#include <string>

#include "engine/model/AppleModels.h"

namespace orvel {

class AppleBackendStatus {
  public:
    virtual ~AppleBackendStatus() = default;

    // Why the back-end cannot be used now, or nothing when it can. May take a while (it may list the
    // installed shortcuts), so the form asks off the main thread: implementations are thread-safe.
    virtual std::optional<std::string> availability(AppleModels::Kind kind) = 0;
    // Makes the next availability() list the installed shortcuts again.
    virtual void forgetShortcutCache() = 0;
    // The shortcut file the application ships for the person to install; nothing when it has none.
    virtual std::optional<std::filesystem::path> shortcutFile() const = 0;
    // Hands the file to the desktop, which offers to install it.
    virtual void openFile(const std::filesystem::path& file) = 0;
};

// The back-ends of this system, with the shortcut file looked up in `resourcesFolder`.
class SystemAppleBackendStatus : public AppleBackendStatus {
  public:
    explicit SystemAppleBackendStatus(std::filesystem::path resourcesFolder);
    // The "Resources" folder beside the application's executable.
    static std::filesystem::path applicationResources();

    std::optional<std::string> availability(AppleModels::Kind kind) override;
    void forgetShortcutCache() override;
    std::optional<std::filesystem::path> shortcutFile() const override;
    void openFile(const std::filesystem::path& file) override;

  private:
    std::filesystem::path m_resources;
};

} // namespace orvel
