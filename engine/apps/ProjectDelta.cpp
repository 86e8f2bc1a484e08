#include "engine/apps/ProjectDelta.h"

#include <utility>

namespace orvel {
namespace {

std::optional<StringTranslation> entry(const std::map<std::string, StringTranslation>& map,
                                       const std::string& id) {
    const auto found = map.find(id);
    return found == map.end() ? std::nullopt : std::optional(found->second);
}

void put(std::map<std::string, StringTranslation>& map, const ProjectDelta::Entries& entries) {
    for (const auto& [id, translation] : entries)
        if (translation)
            map.insert_or_assign(id, *translation);
        else
            map.erase(id);
}

} // namespace

ProjectDelta ProjectDelta::merged(const std::map<std::string, StringTranslation>& translations) {
    ProjectDelta delta;
    for (const auto& [id, translation] : translations)
        delta.translations.emplace(id, translation);
    return delta;
}

ProjectDelta ProjectDelta::applied(const TranslationProject& project, const StringChanges& changes) {
    // The ids apply() reads from or writes to: both ends of every move and change, and every removal.
    std::set<std::string> ids;
    for (const StringChanges::Move& move : changes.moved) {
        ids.insert(move.from);
        ids.insert(move.to);
    }
    for (const StringChanges::Change& change : changes.changed) {
        ids.insert(change.id());
        ids.insert(change.oldID);
    }
    for (const auto& [id, _] : changes.removed)
        ids.insert(id);
    ProjectDelta delta;
    for (const std::string& id : ids) {
        delta.translations.emplace(id, entry(project.translations, id));
        delta.retired.emplace(id, entry(project.retired, id));
    }
    return delta;
}

void ProjectDelta::applyTo(TranslationProject& project) const {
    put(project.translations, translations);
    put(project.retired, retired);
    if (terms)
        project.terms = *terms;
    if (recorded) {
        project.sourceText = recorded->sourceText;
        project.appVersion = recorded->appVersion;
    }
}

} // namespace orvel
