#include <optional>

#include "engine/apps/StringChanges.h"

namespace orvel {
namespace {

// An empty current entry must not shadow the retired translation: taking it would throw the real one away.
std::optional<StringTranslation> translationToMove(const TranslationProject& project,
                                                   const std::string& from) {
    if (const auto current = project.translations.find(from);
        current != project.translations.end() && !current->second.isEmpty())
        return current->second;
    if (const auto retired = project.retired.find(from); retired != project.retired.end())
        return retired->second;
    return std::nullopt;
}

void applyMove(TranslationProject& project, const StringChanges::Move& move) {
    std::optional<StringTranslation> value = translationToMove(project, move.from);
    project.retired.erase(move.from);
    if (move.from != move.to)
        project.translations.erase(move.from);
    if (value)
        project.translations.insert_or_assign(move.to, std::move(*value));
}

void applyChange(TranslationProject& project, const StringChanges::Change& change) {
    const std::string id = change.id();
    // The old translation stays in place, made from its old English, until it is translated anew.
    if (const auto current = project.translations.find(id);
        current == project.translations.end() || current->second.isEmpty())
        project.translations.insert_or_assign(id, change.translation);
    project.retired.erase(change.oldID);
    if (change.oldID != id)
        project.translations.erase(change.oldID);
}

} // namespace

void apply(TranslationProject& project, const std::vector<StringChanges::Change>& changed,
           const std::vector<StringChanges::Move>& moved,
           const std::map<std::string, StringTranslation>& removed) {
    for (const StringChanges::Move& move : moved)
        applyMove(project, move);
    for (const StringChanges::Change& change : changed)
        applyChange(project, change);
    for (const auto& [id, translation] : removed) {
        project.retired.insert_or_assign(id, translation);
        project.translations.erase(id);
    }
}

} // namespace orvel
