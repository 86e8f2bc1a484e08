#include "Orvel/state/BackgroundUpdates.h"

#include <optional>

#include "Orvel/state/Workspace.h"
#include "engine/apps/StringChanges.h"
#include "engine/apps/TranslationProject.h"

namespace orvel::BackgroundUpdates {

std::vector<Item> measure(const std::vector<TranslatableApp>& apps, const EngineFacade& engine,
                          const std::stop_token& stop) {
    std::vector<Item> items;
    for (const TranslatableApp& app : apps) {
        if (stop.stop_requested())
            break;
        // Read once per app, and only when one of its projects needs them.
        std::optional<std::vector<SourceString>> strings;
        for (const std::string& language : Workspace::projectLanguages(app)) {
            const TranslationProject project = TranslationProject::load(app, language);
            // Nothing recorded and nothing translated: an app update cannot have changed anything.
            if (!project.sourceText && project.translations.empty())
                continue;
            if (!strings) {
                const std::optional<AppState> state = engine.readState(app);
                strings = engine.loadStrings(app, state ? state->seen : EngineFacade::SeenLists{});
            }
            const auto count = StringChanges::compute(project, *strings).toTranslate().size();
            items.push_back({app, language, static_cast<int>(count)});
        }
    }
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
