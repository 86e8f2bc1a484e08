#pragma once
// A small system volume of localizations in a scratch folder, with its own caches folder and system
// version, so that the Apple reference never reads the real system or writes the user's caches.

#include <cstdlib>
#include <string>

#include "core/Json.h"
#include "core/XmlPropertyList.h"
#include "engine/reference/SystemLocalizations.h"
#include "tests/support/ScratchFolder.h"

namespace orvel::testing {

class FakeSystemFolder {
  public:
    static constexpr const char* version = "Version 15.1 (Build 24B83)";

    FakeSystemFolder() {
        SystemLocalizations::setRootOverride(root());
        SystemLocalizations::setVersionOverride(version);
        setenv("XDG_CACHE_HOME", caches().c_str(), 1);
    }
    ~FakeSystemFolder() {
        SystemLocalizations::setRootOverride(std::nullopt);
        SystemLocalizations::setVersionOverride(std::nullopt);
        unsetenv("XDG_CACHE_HOME");
    }
    FakeSystemFolder(const FakeSystemFolder&) = delete;
    FakeSystemFolder& operator=(const FakeSystemFolder&) = delete;

    std::filesystem::path root() const { return m_scratch / "volume"; }
    std::filesystem::path caches() const { return m_scratch / "caches"; }
    std::filesystem::path cacheFolder() const { return caches() / "Orvel" / "macos-reference"; }

    // Writes an XML property list below the volume root ("System/Applications/...").
    void writePlist(const std::string& relative, const json::Json& value) const {
        write(relative, XmlPropertyList::serialize(value));
    }
    void write(const std::string& relative, std::string_view bytes) const {
        m_scratch.write(std::filesystem::path("volume") / relative, bytes);
    }

  private:
    ScratchFolder m_scratch;
};

} // namespace orvel::testing
