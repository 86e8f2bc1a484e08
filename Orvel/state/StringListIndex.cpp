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
    m_foldedSources.assign(strings.size(), std::nullopt);
    m_foldedTranslations.assign(strings.size(), std::nullopt);
}

std::optional<std::size_t> StringListIndex::row(std::string_view id) const {
    auto found = m_rows.find(id);
    if (found == m_rows.end())
        return std::nullopt;
    return found->second;
}

const StringTranslation* StringListIndex::translation(std::size_t row,
                                                      const std::optional<TranslationProject>& project) {
    if (!m_translationsReady) {
        m_translations.assign(m_ids.size(), nullptr);
        if (project)
            for (std::size_t i = 0; i < m_ids.size(); ++i)
                if (auto found = project->translations.find(m_ids[i]); found != project->translations.end())
                    m_translations[i] = &found->second;
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

bool StringListIndex::matches(std::size_t row, const SourceString& string,
                              const StringTranslation* translation, const std::string& needle) {
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
