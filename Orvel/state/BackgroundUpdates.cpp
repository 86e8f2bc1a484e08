#include "Orvel/state/BackgroundUpdates.h"

#include <optional>

#include "Orvel/state/Workspace.h"
#include "core/FreedMemory.h"
#include "engine/apps/StringChanges.h"

namespace orvel::BackgroundUpdates {

std::vector<Item> measure(const std::vector<TranslatableApp>& apps, const EngineFacade& engine,
                          LoadedFiles& files, const std::stop_token& stop, const KnownCounts& known) {
    std::vector<Item> items;
    for (const TranslatableApp& app : apps) {
        if (stop.stop_requested())
            break;
        const std::vector<std::string> languages = Workspace::projectLanguages(app);
        if (languages.empty())
            continue;
        const std::optional<AppState> state = engine.readState(app);
        const EngineFacade::SeenLists seen = state ? state->seen : EngineFacade::SeenLists{};
        // Read once per app, and only when one of its projects needs them.
        LoadedFiles::Strings strings;
        for (const std::string& language : languages) {
            const auto given = known.find(TranslationProject::fileURL(app, language));
            std::optional<LoadedFiles::Count> count =
                given != known.end() ? std::optional(given->second) : files.count(app, language, seen);
            if (!count) {
                const LoadedFiles::Project project = files.project(app, language);
                count.emplace();
                // Nothing recorded and nothing translated: an app update cannot have changed anything.
                if (project->sourceText || !project->translations.empty()) {
                    if (!strings)
                        strings = files.strings(app, seen, engine);
                    *count =
                        static_cast<int>(StringChanges::compute(*project, *strings).toTranslate().size());
                }
                files.rememberCount(app, language, seen, project, *count ? strings : nullptr, *count);
            }
            if (*count)
                items.push_back({app, language, **count});
        }
    }
    FreedMemory::release();
    return items;
}

std::map<std::string, int> totals(const std::vector<Item>& items) {
    std::map<std::string, int> pending;
    for (const Item& item : items)
        pending[item.app.bundleIdentifier] += item.count;
    return pending;
}

std::string attemptKey(const Item& item) {
    return item.app.bundleIdentifier + " " + item.language + " " + item.app.version.value_or("");
}

bool isShown(const Item& item, const ShownLanguage& shown) {
    return shown(item.app.bundleIdentifier) == item.language;
}

std::vector<Item> queue(const std::vector<Item>& items, const ShownLanguage& shown,
                        std::set<std::string>& attempted) {
    std::vector<Item> queued;
    for (const Item& item : items) {
        if (item.count < 1 || isShown(item, shown))
            continue;
        if (attempted.insert(attemptKey(item)).second)
            queued.push_back(item);
    }
    return queued;
}

} // namespace orvel::BackgroundUpdates
