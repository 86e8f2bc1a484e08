// The string list of a workspace: its rows under the filter and the search, the counts beside the
// filters, and the per-string look-ups of the table and the inspector. Only translatable strings take
// part, except in the count of changed strings, which is taken from the changes as they come.

#include "Orvel/state/StringSearch.h"
#include "Orvel/state/Workspace.h"

namespace orvel {
namespace {

bool isTranslated(const StringTranslation* translation) {
    return translation && !translation->isEmpty();
}

bool isEdited(const StringTranslation* translation) {
    return translation && translation->origin == StringTranslation::Origin::person;
}

} // namespace

bool Workspace::passesFilter(std::size_t row, const StringTranslation* translation) const {
    switch (m_filter) {
    case Filter::all:
        return true;
    case Filter::untranslated:
        return !isTranslated(translation);
    case Filter::changed:
        return m_index.isChanged(row, m_changes);
    case Filter::problems:
        return problemAt(row, translation).has_value();
    case Filter::edited:
        return isEdited(translation);
    }
    return false;
}

std::vector<const SourceString*> Workspace::visibleStrings() const {
    const std::optional<std::string> needle = StringSearch::needle(m_search);
    std::vector<const SourceString*> rows;
    // Room for every row at once: growing the list of a large app step by step costs more than the filter.
    rows.reserve(strings().size());
    for (std::size_t row = 0; row < strings().size(); ++row) {
        const SourceString& string = strings()[row];
        if (!string.translate)
            continue;
        const StringTranslation* translation = m_index.translation(row, m_project);
        if (!passesFilter(row, translation))
            continue;
        if (needle && !m_index.matches(row, string, translation, *needle))
            continue;
        rows.push_back(&string);
    }
    return rows;
}

std::optional<int> Workspace::count(Filter filter) const {
    switch (filter) {
    case Filter::all:
        return translatableCount();
    case Filter::untranslated:
        return translatableCount() - translatedCount();
    case Filter::changed:
        return static_cast<int>(m_changes.added.size() + m_changes.changed.size());
    case Filter::problems:
        return problemCount();
    case Filter::edited:
        return counts().edited;
    }
    return std::nullopt;
}

int Workspace::translatableCount() const {
    return counts().translatable;
}

int Workspace::translatedCount() const {
    return counts().translated;
}

std::optional<int> Workspace::problemCount() const {
    return counts().problems;
}

int Workspace::seenCount() const {
    return counts().seen;
}

const WorkspaceCounts& Workspace::counts() const {
    if (m_counts)
        return *m_counts;
    ++m_countPasses;
    WorkspaceCounts counts;
    if (m_problemsReady)
        counts.problems = 0;
    for (std::size_t row = 0; row < strings().size(); ++row)
        countRow(counts, row, m_index.translation(row, m_project), 1);
    return m_counts.emplace(counts);
}

void Workspace::countRow(WorkspaceCounts& counts, std::size_t row, const StringTranslation* translation,
                         int sign) const {
    if (!strings()[row].translate)
        return;
    counts.translatable += sign;
    counts.translated += isTranslated(translation) ? sign : 0;
    counts.edited += isEdited(translation) ? sign : 0;
    if (counts.problems && problemAt(row, translation))
        *counts.problems += sign;
    auto found = m_context->occurrences.find(m_index.id(row));
    counts.seen += found != m_context->occurrences.end() && !found->second.empty() ? sign : 0;
}

const SourceString* Workspace::source(std::string_view id) const {
    const std::optional<std::size_t> row = m_index.row(id);
    return row ? &strings()[*row] : nullptr;
}

const StringTranslation* Workspace::translation(std::string_view id) const {
    if (!m_project)
        return nullptr;
    auto found = m_project->translations.find(std::string(id));
    return found == m_project->translations.end() ? nullptr : &found->second;
}

std::optional<std::string> Workspace::previousSource(std::string_view id) const {
    for (const StringChanges::Change& change : m_changes.changed)
        if (change.id() == id)
            return change.oldText;
    return std::nullopt;
}

const std::vector<Occurrence>& Workspace::occurrences(std::string_view id) const {
    static const std::vector<Occurrence> none;
    auto found = m_context->occurrences.find(id);
    return found == m_context->occurrences.end() ? none : found->second;
}

std::optional<std::string> Workspace::problem(std::string_view id) const {
    const std::optional<std::size_t> row = m_index.row(id);
    if (!row)
        return std::nullopt;
    return problemAt(*row, m_index.translation(*row, m_project));
}

std::optional<std::string> Workspace::problemAt(std::size_t row, const StringTranslation* translation) const {
    // A translation the person wrote or kept is theirs, and never flagged.
    if (!isTranslated(translation) || isEdited(translation) || !m_language)
        return std::nullopt;
    const std::string& id = m_index.id(row);
    auto cached = m_problemCache.find(id);
    const std::size_t checked = std::hash<StringTranslation>{}(*translation);
    if (cached != m_problemCache.end() && cached->second.translation == checked)
        return cached->second.problem;
    // A translation exists only with a project.
    std::optional<std::string> found =
        m_termCheck(strings()[row], *translation, *m_language, m_project->terms, glossaryWords());
    m_problemCache.insert_or_assign(id, ProblemCheck{checked, found});
    return found;
}

} // namespace orvel
