#pragma once
// Persistent settings of one domain (an application's own, or another app's by its bundle identifier):
// a JSON object in "<domain>.json" of the settings folder. Booleans, integers and texts stay apart, so a
// value reads back with the type it was stored with and a lookup of another type finds nothing.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace orvel {

class DefaultsStore {
  public:
    using Value = std::variant<bool, std::int64_t, std::string>;

    // A settings file that exists but cannot be read as a JSON object, or holds values nested deeper
    // than any JSON reader goes (another app may plant one in its own domain). Writes refuse to replace
    // it, so whatever it holds stays for the person to repair.
    class UnreadableFileError : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    // The test override when set, else $XDG_CONFIG_HOME/Orvel when that is an absolute path, else
    // ".config/Orvel" in the home folder.
    static std::filesystem::path defaultFolder();
    // Process-wide test hook for defaultFolder(); nothing restores the normal lookup but a reset.
    static void setFolderOverride(std::optional<std::filesystem::path> folder);

    // Nothing when `domain` cannot name a file of its own inside `folder` ("", ".", "..", "/" or NUL).
    static std::optional<DefaultsStore> open(std::string_view domain,
                                             const std::filesystem::path& folder = defaultFolder());

    const std::string& domain() const { return m_domain; }
    std::filesystem::path fileURL() const;

    // Reads go to the file each time; a missing or unreadable file, or a value of another kind, gives
    // nothing.
    std::optional<Value> value(std::string_view key) const;
    std::optional<bool> boolean(std::string_view key) const;
    std::optional<std::int64_t> integer(std::string_view key) const;
    std::optional<std::string> string(std::string_view key) const;

    // Rewrite the file atomically, keeping every other key as it was. Throw UnreadableFileError, or the
    // file system's error; the file is then unchanged. Writes of the whole process are serialised.
    void set(std::string_view key, const Value& value) const;
    void remove(std::string_view key) const;

  private:
    DefaultsStore(std::string domain, std::filesystem::path folder)
        : m_domain(std::move(domain)), m_folder(std::move(folder)) {}

    std::string m_domain;
    std::filesystem::path m_folder;
};

} // namespace orvel
