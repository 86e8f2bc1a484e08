// What may be wrong with each translation of the chosen language, worked out off the main thread for
// all strings at once, and the workspace's other reports of trouble: the lines of a failed run and
// whether the running app shows the chosen language.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <stop_token>
#include <utility>
#include <vector>

#include "Orvel/state/Workspace.h"
#include "core/Cancellation.h"
#include "core/ConcurrentMap.h"
#include "core/FreedMemory.h"
#include "core/TextPieces.h"
#include "engine/model/LanguageNotes.h"
#include "engine/pipeline/Terms.h"

namespace orvel {
namespace {

// What the per-string checks run on, taken on the main thread.
struct ProblemInputs {
    std::string language;
    LoadedFiles::Strings strings;
    std::shared_ptr<const TranslationProject> project;
    EngineFacade::GlossaryWords glossary;
    EngineFacade::TermCheck check;
};

bool isChecked(const StringTranslation& translation) {
    // A translation the person wrote or kept is theirs, and never flagged.
    return !translation.isEmpty() && translation.origin != StringTranslation::Origin::person;
}

// How many threads check the strings of a large app at once.
constexpr int checkers = 4;
// Fewer strings than this are checked on one thread: starting more costs more than it saves.
constexpr std::size_t stringsPerChecker = 2000;

// The checks of some rows, and how many of those rows have a problem: a row of a duplicated id counts
// like the others, as the counts of the string list count rows, not ids.
struct Checked {
    Workspace::ProblemMap found;
    int problems = 0;
    // Id to the rows of it after the first one in these rows, which were counted by the first one's check.
    std::map<std::string, int, std::less<>> repeats;
};

// The check of every string of rows [begin, end) that has a translation to check; nothing once stopped.
Checked checkedProblems(const ProblemInputs& inputs, std::size_t begin, std::size_t end,
                        const std::stop_token& stop) {
    Checked checked;
    const auto& translations = inputs.project->translations;
    for (std::size_t row = begin; row < end; ++row) {
        if (stop.stop_requested())
            return {};
        const SourceString& string = (*inputs.strings)[row];
        if (!string.translate)
            continue;
        std::string id = string.id();
        auto translation = translations.find(id);
        if (translation == translations.end() || !isChecked(translation->second))
            continue;
        // A duplicated id is the first string's, as everywhere else in the workspace.
        if (const auto same = checked.found.find(id); same != checked.found.end()) {
            checked.problems += same->second.problem ? 1 : 0;
            ++checked.repeats[id];
            continue;
        }
        std::optional<std::string> problem = inputs.check(string, translation->second, inputs.language,
                                                          inputs.project->terms, inputs.glossary);
        checked.problems += problem ? 1 : 0;
        checked.found.emplace(
            std::move(id),
            Workspace::ProblemCheck{std::hash<StringTranslation>{}(translation->second), std::move(problem)});
    }
    return checked;
}

// checkedProblems() of all rows, a few slices at once.
Checked checkedProblems(const ProblemInputs& inputs, const std::stop_token& stop) {
    const std::size_t count = inputs.strings->size();
    const std::size_t slices = std::clamp<std::size_t>(count / stringsPerChecker, 1, checkers);
    std::vector<std::size_t> starts;
    for (std::size_t slice = 0; slice < slices; ++slice)
        starts.push_back(count * slice / slices);
    std::vector<Checked> parts;
    try {
        parts = concurrentMap(
            starts, checkers,
            [&](std::size_t begin, const std::stop_token& token) {
                const auto next = std::upper_bound(starts.begin(), starts.end(), begin);
                return checkedProblems(inputs, begin, next == starts.end() ? count : *next, token);
            },
            stop);
    } catch (const CancellationError&) {
        return {};
    }
    if (stop.stop_requested())
        return {};
    // In row order, so that a duplicated id keeps the first string's check: the rows of an id a slice
    // before checked count by that check, not by their own slice's.
    Checked all = std::move(parts.front());
    for (std::size_t part = 1; part < parts.size(); ++part) {
        Checked& next = parts[part];
        all.problems += next.problems;
        all.found.merge(next.found);
        for (const auto& [id, own] : next.found) {
            const auto repeated = next.repeats.find(id);
            const int rows = 1 + (repeated == next.repeats.end() ? 0 : repeated->second);
            const bool first = all.found.find(id)->second.problem.has_value();
            all.problems += rows * (static_cast<int>(first) - static_cast<int>(own.problem.has_value()));
        }
    }
    return all;
}

// The texts of a translation that a wording to avoid is searched in: its plural forms, else its text.
std::vector<std::string> searchedTexts(const StringTranslation& translation) {
    if (!translation.plural || translation.plural->empty())
        return {translation.text.value_or("")};
    std::vector<std::string> texts;
    for (const auto& [category, form] : *translation.plural)
        texts.push_back(form);
    return texts;
}

} // namespace

void Workspace::refreshProblems() {
    refreshProblems(nullptr);
}

void Workspace::refreshProblems(std::shared_ptr<const TranslationProject> snapshot) {
    m_problemsTask.cancel();
    m_rowsSinceChecked.clear();
    m_checkedCopyStale = false;
    setProblemsReady(false);
    if (!m_language || !m_project)
        return;
    auto inputs = std::make_shared<ProblemInputs>();
    inputs->language = *m_language;
    inputs->strings = m_strings;
    inputs->project = snapshot ? std::move(snapshot) : projectSnapshot();
    inputs->glossary = glossaryWords();
    inputs->check = m_termCheck;
    const TaskSlot::Ticket ticket = m_problemsTask.start();
    runInBackground(
        this,
        [this, inputs, ticket]() -> std::function<void()> {
            Checked checked = checkedProblems(*inputs, ticket.token);
            if (ticket.token.stop_requested())
                return {};
            // The inputs stay behind: the copy of a large project they hold is freed here, not on the main
            // thread.
            return [this, language = inputs->language, generation = ticket.generation,
                    checked = std::move(checked)]() mutable {
                // The checks hold for the language they were made in; another language chosen meanwhile
                // (with or without a recomputation of its own) makes them worthless.
                if (!m_problemsTask.isCurrent(generation) || m_language != language)
                    return;
                m_problemsTask.finish(generation);
                takeProblems(std::move(checked.found), checked.problems);
                // Reading the strings and projects these checks ran on, and the checks themselves, freed far
                // more than the workspace keeps: that goes back to the system.
                releaseFreedMemoryLater(this);
            };
        },
        AtTheEnd::leftBehind);
}

void Workspace::takeProblems(ProblemMap found, int problems) {
    // Rows whose translation changed since the checked copy was made count as they stand now, not as
    // they stood in it; only they are looked at, not every row.
    std::vector<std::size_t> since = std::exchange(m_rowsSinceChecked, {});
    std::sort(since.begin(), since.end());
    since.erase(std::unique(since.begin(), since.end()), since.end());
    for (const std::size_t row : since)
        if (const auto checked = found.find(m_index.id(row));
            checked != found.end() && checked->second.problem)
            --problems;
    // The new checks win over cached ones of the same ids; the cached others are kept.
    found.merge(m_problemCache);
    m_problemCache = std::move(found);
    for (const std::size_t row : since)
        if (strings()[row].translate && problemAt(row, m_index.translation(row, m_project)))
            ++problems;
    // A project assigned whole since then is counted whole again, from the checks.
    if (std::exchange(m_checkedCopyStale, false))
        m_counts.reset();
    setProblemsReady(true, problems);
}

std::optional<std::string> Workspace::problemMatch(std::string_view id) const {
    if (!m_language)
        return std::nullopt;
    const std::shared_ptr<const LanguageNotes> notes = LanguageNotes::notes(*m_language);
    const StringTranslation* translation = this->translation(id);
    const SourceString* string = source(id);
    if (!notes || !translation || !string)
        return std::nullopt;
    const std::optional<std::string> found = problem(id);
    if (!found)
        return std::nullopt;
    for (const std::string& text : searchedTexts(*translation)) {
        std::optional<LanguageNotes::Match> match =
            notes->firstMatch(Terms::removingCode(text), string->text);
        if (match && match->advice == *found)
            return std::move(match->matched);
    }
    return std::nullopt;
}

std::vector<std::string> Workspace::failureLines(FailureMap::const_iterator first,
                                                 FailureMap::const_iterator last) const {
    std::vector<std::string> lines;
    for (; first != last; ++first) {
        const SourceString* string = source(first->first);
        lines.push_back((string ? string->text : first->first) + ": " + first->second);
    }
    return lines;
}

std::string Workspace::failureText(const FailureMap& failures) const {
    auto last = failures.begin();
    std::advance(last, std::min(failureLineLimit, failures.size()));
    return text::joined(failureLines(failures.begin(), last), "\n");
}

bool Workspace::isLive() const {
    return m_language && m_appState && m_appState->language == m_language && m_appRunning;
}

int Workspace::notesCount() const {
    const std::size_t manifestEntries =
        m_app.manifest && m_app.manifest->glossary ? m_app.manifest->glossary->size() : 0;
    return static_cast<int>(manifestEntries + m_notes.glossary.size());
}

} // namespace orvel
