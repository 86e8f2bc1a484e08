#include "Orvel/state/PersonEdits.h"

namespace orvel {
namespace {

template <class Map, class Key>
std::optional<typename Map::mapped_type> entry(const Map& map, const Key& key) {
    const auto found = map.find(key);
    return found == map.end() ? std::nullopt : std::optional(found->second);
}

template <class Map>
void put(Map& map, const std::string& key, const std::optional<typename Map::mapped_type>& value) {
    if (value)
        map.insert_or_assign(key, *value);
    else
        map.erase(key);
}

} // namespace

void PersonEdits::recordTranslation(const TranslationProject& edited, const std::string& id) {
    translations.insert_or_assign(id, entry(edited.translations, id));
}

void PersonEdits::recordTerm(const TranslationProject& edited, const std::string& term) {
    terms.insert_or_assign(term, entry(edited.terms, term));
}

void PersonEdits::recordStyle(const TranslationProject& edited) {
    style = edited.style;
}

void PersonEdits::layOver(TranslationProject& project) const {
    for (const auto& [id, translation] : translations)
        put(project.translations, id, translation);
    for (const auto& [term, chosen] : terms)
        put(project.terms, term, chosen);
    if (style)
        project.style = *style;
}

void PersonEdits::layOver(ProjectDelta& step) const {
    for (const auto& [id, _] : translations)
        step.translations.erase(id);
    if (step.terms)
        for (const auto& [term, chosen] : terms)
            put(*step.terms, term, chosen);
}

} // namespace orvel
