#include "Orvel/state/StringListIndex.h"

#include "Orvel/state/StringSearch.h"

namespace orvel {

void StringListIndex::reset(const std::vector<SourceString>& strings) {
    m_rows.clear();
    m_ids.clear();
    m_ids.reserve(strings.size());
    m_rows.reserve(strings.size());
    for (std::size_t row = 0; row < strings.size(); ++row) {
        m_ids.push_back(strings[row].id());
        // The first string of a duplicated id keeps it.
        m_rows.try_emplace(m_ids.back(), row);
    }
    m_translationsReady = false;
    m_changedReady = false;
    m_foldedSources.clear();
    m_foldedTranslations.clear();
}

std::optional<std::size_t> StringListIndex::row(std::string_view id) const {
    auto found = m_rows.find(id);
    if (found == m_rows.end())
        return std::nullopt;
    return found->second;
}

StringListIndex::RowTranslations StringListIndex::lookUp(const TranslationProject& project) const {
    RowTranslations looked;
    looked.rows.assign(m_ids.size(), nullptr);
    for (std::size_t i = 0; i < m_ids.size(); ++i)
        if (auto found = project.translations.find(m_ids[i]); found != project.translations.end())
            looked.rows[i] = &found->second;
    looked.first = project.translations.empty() ? nullptr : &project.translations.begin()->second;
    looked.count = project.translations.size();
    return looked;
}

void StringListIndex::projectChanged(RowTranslations looked, const TranslationProject& assigned) {
    projectChanged();
    const StringTranslation* first =
        assigned.translations.empty() ? nullptr : &assigned.translations.begin()->second;
    if (looked.rows.size() != m_ids.size() || looked.first != first ||
        looked.count != assigned.translations.size())
        return;
    m_translations = std::move(looked.rows);
    m_translationsReady = true;
    for (std::optional<FoldedTranslation>& folded : m_foldedTranslations)
        if (folded && folded->projectGeneration == foldedForRows)
            folded->projectGeneration = m_projectGeneration;
}

const StringTranslation* StringListIndex::translation(std::size_t row,
                                                      const std::optional<TranslationProject>& project) {
    if (!m_translationsReady) {
        if (project) {
            m_translations = lookUp(*project).rows;
        } else {
            m_translations.assign(m_ids.size(), nullptr);
        }
        m_translationsReady = true;
    }
    return m_translations[row];
}

bool StringListIndex::isChanged(std::size_t row, const StringChanges& changes) {
    if (!m_changedReady) {
        m_changed.clear();
        for (const SourceString& string : changes.toTranslate())
            m_changed.insert(string.id());
        m_changedReady = true;
    }
    return m_changed.contains(m_ids[row]);
}

void StringListIndex::makeFoldedLists() {
    if (m_foldedSources.size() != m_ids.size()) {
        m_foldedSources.resize(m_ids.size());
        m_foldedTranslations.resize(m_ids.size());
    }
}

void StringListIndex::foldAll(const std::vector<SourceString>& strings, const RowTranslations& rows) {
    makeFoldedLists();
    for (std::size_t row = 0; row < m_ids.size() && row < strings.size(); ++row) {
        m_foldedSources[row] =
            FoldedSource{StringSearch::folded(strings[row].text), StringSearch::folded(strings[row].key)};
        if (row < rows.rows.size() && rows.rows[row]) {
            std::string displayText = rows.rows[row]->displayText();
            std::string folded = StringSearch::folded(displayText);
            // Trusted without a comparison only once these very rows are assigned with their project.
            m_foldedTranslations[row] =
                FoldedTranslation{std::move(displayText), std::move(folded), foldedForRows};
        }
    }
}

bool StringListIndex::matches(std::size_t row, const SourceString& string,
                              const StringTranslation* translation, const std::string& needle) {
    makeFoldedLists();
    std::optional<FoldedSource>& source = m_foldedSources[row];
    if (!source)
        source = FoldedSource{StringSearch::folded(string.text), StringSearch::folded(string.key)};
    if (source->text.find(needle) != std::string::npos || source->key.find(needle) != std::string::npos)
        return true;
    return translation && foldedTranslation(row, *translation).find(needle) != std::string::npos;
}

const std::string& StringListIndex::foldedTranslation(std::size_t row, const StringTranslation& translation) {
    std::optional<FoldedTranslation>& cached = m_foldedTranslations[row];
    if (cached && cached->projectGeneration == m_projectGeneration)
        return cached->folded;
    std::string displayText = translation.displayText();
    if (!cached || cached->displayText != displayText) {
        std::string folded = StringSearch::folded(displayText);
        cached = FoldedTranslation{std::move(displayText), std::move(folded), m_projectGeneration};
    }
    cached->projectGeneration = m_projectGeneration;
    return cached->folded;
}

} // namespace orvel
