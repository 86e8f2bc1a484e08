// The person's edits of a workspace: single translations, plural forms, keeping a flagged translation,
// the chosen key terms and the translation style.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Orvel/state/Workspace.h"
#include "core/PluralRules.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

bool isPluralCategory(std::string_view category) {
    const auto& categories = PluralRules::allCategories();
    return std::find(categories.begin(), categories.end(), category) != categories.end();
}

// A translation of the person's, made now from the string's current English; the caller gives its text
// or forms.
StringTranslation byThePerson(const SourceString& string, Date now) {
    StringTranslation translation;
    translation.origin = StringTranslation::Origin::person;
    translation.source = string.text;
    translation.updated = now;
    return translation;
}

} // namespace

void Workspace::setText(std::string text, std::string_view id) {
    const SourceString* string = source(id);
    if (!m_project || !string)
        return;
    if (text.empty()) {
        storeTranslation(id, std::nullopt);
        return;
    }
    StringTranslation translation = byThePerson(*string, m_services.clock.now());
    translation.text = std::move(text);
    storeTranslation(id, std::move(translation));
}

void Workspace::setPluralForm(std::string text, std::string_view category, std::string_view id) {
    const SourceString* string = source(id);
    if (!m_project || !string || !isPluralCategory(category))
        return;
    std::map<std::string, std::string> forms;
    if (const StringTranslation* existing = translation(id)) {
        forms = existing->plural.value_or(forms);
        // A plain translation becomes the form of every other count.
        if (forms.empty() && existing->text)
            forms.emplace("other", *existing->text);
    }
    if (text.empty())
        forms.erase(std::string(category));
    else
        forms.insert_or_assign(std::string(category), std::move(text));
    if (forms.empty()) {
        storeTranslation(id, std::nullopt);
        return;
    }
    StringTranslation translation = byThePerson(*string, m_services.clock.now());
    translation.plural = std::move(forms);
    storeTranslation(id, std::move(translation));
}

void Workspace::keep(std::string_view id) {
    const StringTranslation* current = translation(id);
    if (!current)
        return;
    StringTranslation kept = *current;
    kept.origin = StringTranslation::Origin::person;
    // The wording and the English it was made from stay, and with them every change the changes list
    // shows: nothing is compared again, so no Translate Changes starts from a Keep.
    storeTranslation(id, std::move(kept), false);
}

void Workspace::restoreTranslation(std::string_view id, std::optional<StringTranslation> translation) {
    if (!m_project || !source(id))
        return;
    storeTranslation(id, std::move(translation));
}

void Workspace::storeTranslation(std::string_view id, std::optional<StringTranslation> translation,
                                 bool compareChanges) {
    // In place, like a run's batch: an edit in a large app neither copies the project nor compares it
    // whole unless the changes cannot follow the one row.
    std::vector<Replacement> replacements;
    replacements.emplace_back(std::string(id), std::move(translation));
    const bool followed = replaceTranslations(std::move(replacements));
    recordEdit([key = std::string(id)](PersonEdits& edits, const TranslationProject& edited) {
        edits.recordTranslation(edited, key);
    });
    if (!followed && compareChanges)
        refreshChanges();
    scheduleWriteBack(writeBackDelay);
}

void Workspace::setTerm(const std::string& term, std::string translation) {
    if (!m_project)
        return;
    changeAndSave([&](TranslationProject& project) {
        if (translation.empty())
            project.terms.erase(term);
        else
            project.terms.insert_or_assign(term, std::move(translation));
    });
    recordEdit([&](PersonEdits& edits, const TranslationProject& edited) { edits.recordTerm(edited, term); });
}

std::vector<std::pair<std::string, std::string>> Workspace::sortedTerms() const {
    if (!m_project)
        return {};
    std::vector<std::pair<std::string, std::string>> terms(m_project->terms.begin(), m_project->terms.end());
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(terms.size());
    for (std::size_t i = 0; i < terms.size(); ++i)
        order.emplace_back(text::lowercased(terms[i].first), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::pair<std::string, std::string>> sorted;
    sorted.reserve(terms.size());
    for (const auto& [_, index] : order)
        sorted.push_back(std::move(terms[index]));
    return sorted;
}

void Workspace::setStyle(TranslationStyle style) {
    if (!m_project || m_project->style == style)
        return;
    changeAndSave([&](TranslationProject& project) { project.style = style; });
    recordEdit([](PersonEdits& edits, const TranslationProject& edited) { edits.recordStyle(edited); });
}

void Workspace::changeAndSave(const std::function<void(TranslationProject&)>& change) {
    // In place: the translations, and all that is counted and indexed of them, stay.
    const std::map<std::string, std::string> termsBefore = m_project->terms;
    change(*m_project);
    m_unwritten.terms();
    m_unwritten.style();
    emit projectChanged();
    // One copy serves the write and, when the terms changed, the checks.
    std::shared_ptr<const TranslationProject> snapshot = projectSnapshot();
    // The terms take part in every check: what was found with the old ones no longer holds.
    if (m_project->terms != termsBefore) {
        m_problemCache.clear();
        refreshProblems(snapshot);
    }
    // A failure leaves the choice in the project; it reaches the file with the next save or write-back.
    m_writer.write({std::move(snapshot), nullptr}, saveDone(m_project->language));
}

} // namespace orvel
