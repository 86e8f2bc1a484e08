#include "Orvel/state/ProjectWriterChanges.h"

#include <map>
#include <optional>
#include <utility>

namespace orvel {
namespace {

// Each id with its entry in `map` as it stands; none where the entry is gone.
ProjectDelta::Entries entriesOf(const std::set<std::string>& ids,
                                const std::map<std::string, StringTranslation>& map) {
    ProjectDelta::Entries entries;
    for (const std::string& id : ids) {
        const auto found = map.find(id);
        entries.emplace(id, found == map.end() ? std::nullopt : std::optional(found->second));
    }
    return entries;
}

} // namespace

void ProjectWriterChanges::forget() {
    const std::uint64_t told = m_told;
    *this = {};
    m_told = told + 1;
}

ProjectWriter::Update ProjectWriterChanges::take(const TranslationProject& project, const Copy& copy,
                                                 bool keep) {
    ProjectWriter::Update update;
    update.language = project.language;
    update.keep = keep;
    if (m_whole) {
        update.whole = copy();
    } else {
        update.changes.translations = entriesOf(m_translations, project.translations);
        update.changes.retired = entriesOf(m_retired, project.retired);
        if (m_terms)
            update.changes.terms = project.terms;
        update.changes.recorded = std::move(m_recorded);
        if (m_style)
            update.style = project.style;
    }
    const std::uint64_t told = m_told;
    forget();
    // Taking what changed changes nothing.
    m_told = told;
    m_whole = !keep;
    return update;
}

} // namespace orvel
