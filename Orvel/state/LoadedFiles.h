#pragma once
// What the library's workspaces and its background measure read of the apps: each app's strings, its
// projects, and what the measure counted of them. Opening an app and counting what its update left to
// translate need the same tens of megabytes of catalogs and the same project: whoever asks first reads
// them, and whoever asks while they are read or in use takes the same values instead of reading the
// files again. A count stays known while neither the project file nor the strings changed, so a measure
// after an app launch or quit reads only what changed. Values are held for as long as somebody uses
// them (an open workspace keeps its strings), never beyond: the memory is the users'. Safe to use from
// any thread.

#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Orvel/state/EngineFacade.h"
#include "core/FileStamp.h"
#include "core/SourceString.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class LoadedFiles {
  public:
    using Strings = std::shared_ptr<const std::vector<SourceString>>;
    using Project = std::shared_ptr<const TranslationProject>;
    // What the measure found for one project: the number of strings to translate again, or none when
    // the project had nothing an app update could change.
    using Count = std::optional<int>;

    // Whether strings() may give what it read before.
    enum class Reuse { whileUnchanged, never };
    // The app's strings with those of `seen` (engine.loadStrings), in display order. Read again when a
    // catalog of the app was changed, added or removed, or the app's version or the seen lists differ,
    // and always with Reuse::never (what was read then serves the next callers); an app without
    // catalogs (a record not read from a bundle) is read every time.
    Strings strings(const TranslatableApp& app, const EngineFacade::SeenLists& seen,
                    const EngineFacade& engine, Reuse reuse = Reuse::whileUnchanged);

    // The project of the app and language as its file holds it now (TranslationProject::load).
    Project project(const TranslatableApp& app, const std::string& language);

    // The count remembered for the app's project in `language` against its strings with `seen`, when
    // neither the project file nor the strings changed since the values it was made from were read.
    std::optional<Count> count(const TranslatableApp& app, const std::string& language,
                               const EngineFacade::SeenLists& seen);
    // Remembers what was counted of `project` against `strings`, both as this object gave them (null
    // strings when the count needed none); forgotten when either is no longer what the files hold.
    void rememberCount(const TranslatableApp& app, const std::string& language,
                       const EngineFacade::SeenLists& seen, const Project& project, const Strings& strings,
                       Count count);

    // Forgets what was read and counted of the apps not in `apps` (those no longer installed).
    void keepOnly(const std::vector<TranslatableApp>& apps);

  private:
    // What tells the strings of one app from those of another read: the catalogs and their stamps,
    // the app's version and the seen lists.
    struct StringsSource {
        std::vector<std::filesystem::path> catalogs;
        std::vector<std::optional<FileStamp>> stamps;
        std::optional<std::string> version;
        EngineFacade::SeenLists seen;
        bool operator==(const StringsSource&) const = default;
    };
    struct StringsEntry {
        std::filesystem::path bundle;
        StringsSource source;
        std::weak_ptr<const std::vector<SourceString>> value;
        bool reading = false;
    };
    struct ProjectEntry {
        std::filesystem::path bundle;
        std::optional<FileStamp> stamp;
        std::weak_ptr<const TranslationProject> value;
        bool reading = false;
    };
    struct CountEntry {
        std::filesystem::path bundle;
        std::optional<FileStamp> projectStamp;
        // None when the count did not depend on the strings.
        std::optional<StringsSource> strings;
        Count count;
    };

    static StringsSource sourceOf(const TranslatableApp& app, const EngineFacade::SeenLists& seen);
    // The entry's value when `current` holds for the entry, else what `read` gives, stored with
    // `fill`; one thread reads an entry at a time, the others wait for its value.
    template <typename Entry, typename Current, typename Read, typename Fill>
    auto readOnce(std::map<std::filesystem::path, std::shared_ptr<Entry>>& entries,
                  const std::filesystem::path& key, Current current, Read read, Fill fill);

    std::mutex m_mutex;
    // Told when any read ends.
    std::condition_variable m_readEnded;
    // By bundle location.
    std::map<std::filesystem::path, std::shared_ptr<StringsEntry>> m_strings;
    // By project file.
    std::map<std::filesystem::path, std::shared_ptr<ProjectEntry>> m_projects;
    std::map<std::filesystem::path, CountEntry> m_counts;
};

} // namespace orvel
