#include "engine/apps/StringChanges.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/Unicode.h"
#include "engine/apps/StringDiff.h"

namespace orvel {
namespace {

// A reworded string is paired with an old translation only from this score on.
constexpr double pairingThreshold = 0.5;

// The table an old id belonged to: the first non-empty piece between separators, so an id that
// starts with a separator yields its key, and one made only of separators the empty table.
std::string_view tableOfOldId(std::string_view id) {
    const auto start = id.find_first_not_of(SourceString::idSeparator);
    if (start == std::string_view::npos)
        return {};
    const auto end = id.find(SourceString::idSeparator, start);
    return id.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// Old translations by table and English, each handed out at most once.
class SameTextIndex {
  public:
    void add(std::string_view table, std::string_view english, const std::string& id) {
        m_ids[key(table, english)].push_back(id);
    }

    std::optional<std::string> take(std::string_view table, std::string_view english) {
        const auto found = m_ids.find(key(table, english));
        if (found == m_ids.end() || found->second.empty())
            return std::nullopt;
        std::string id = std::move(found->second.front());
        found->second.pop_front();
        return id;
    }

  private:
    // Composed, so that canonically equivalent English meets under one key.
    static std::pair<std::string, std::string> key(std::string_view table, std::string_view english) {
        return {std::string(table), text::nfc(english)};
    }

    std::map<std::pair<std::string, std::string>, std::deque<std::string>> m_ids;
};

struct Leftover {
    const std::string* id;
    const StringTranslation* translation;
    StringDiff::Prepared english;
};

struct Proposal {
    double score;
    const SourceString* candidate;
    const Leftover* leftover;
};

class ChangeFinder {
  public:
    ChangeFinder(const TranslationProject& project, const std::vector<SourceString>& strings)
        : m_project(project), m_strings(strings) {}

    StringChanges find() {
        sortCurrentStrings();
        collectLeftovers();
        matchSameText();
        pairBySimilarity();
        if (m_project.sourceText)
            for (const SourceString* candidate : m_unmatched)
                if (!m_takenCandidates.contains(candidate->id()))
                    m_changes.added.push_back(*candidate);
        for (const auto& [id, translation] : m_leftovers)
            if (!m_takenLeftovers.contains(id))
                m_changes.removed.emplace(id, *translation);
        return std::move(m_changes);
    }

  private:
    void sortCurrentStrings() {
        for (const SourceString& string : m_strings)
            m_currentIds.insert(string.id());
        for (const SourceString& string : m_strings) {
            if (!string.translate)
                continue;
            const std::string id = string.id();
            if (const auto found = m_project.translations.find(id);
                found != m_project.translations.end() && !found->second.isEmpty()) {
                if (text::canonicallyEqual(found->second.source, string.text))
                    ++m_changes.unchanged;
                else
                    m_changes.changed.push_back({string, found->second.source, id, found->second});
            } else if (const auto retired = m_project.retired.find(id); retired != m_project.retired.end()) {
                if (text::canonicallyEqual(retired->second.source, string.text))
                    m_changes.moved.push_back({id, id});
                else
                    m_changes.changed.push_back({string, retired->second.source, id, retired->second});
            } else if (!(m_project.sourceText && m_project.sourceText->contains(id))) {
                // Recorded English without a translation means the string was simply never translated.
                m_candidates.push_back(&string);
            }
        }
    }

    void collectLeftovers() {
        for (const auto& [id, translation] : m_project.translations)
            if (!m_currentIds.contains(id) && !translation.isEmpty()) {
                m_leftovers.emplace(id, &translation);
                m_leftoverText.add(tableOfOldId(id), translation.source, id);
            }
        for (const auto& [id, translation] : m_project.retired)
            if (!m_currentIds.contains(id) && !m_leftovers.contains(id))
                m_retiredText.add(tableOfOldId(id), translation.source, id);
    }

    // A string that kept its English and table but changed its key takes its translation along. Each old
    // translation, retired ones included, serves one string only: a second string of the same English
    // would otherwise be promised a translation that the first move already carried off.
    void matchSameText() {
        for (const SourceString* candidate : m_candidates) {
            auto oldId = m_leftoverText.take(candidate->table, candidate->text);
            if (oldId)
                m_leftovers.erase(*oldId);
            else
                oldId = m_retiredText.take(candidate->table, candidate->text);
            if (oldId)
                m_changes.moved.push_back({std::move(*oldId), candidate->id()});
            else
                m_unmatched.push_back(candidate);
        }
    }

    // Only leftovers of a candidate's own table can pair with it, so each table is compared on its own.
    void pairBySimilarity() {
        std::set<std::string_view> candidateTables;
        for (const SourceString* candidate : m_unmatched)
            candidateTables.insert(candidate->table);
        std::map<std::string_view, std::vector<Leftover>> leftoversByTable;
        for (const auto& [id, translation] : m_leftovers) {
            const std::string_view table = tableOfOldId(id);
            if (candidateTables.contains(table))
                leftoversByTable[table].push_back(
                    {&id, translation, StringDiff::prepare(translation->source)});
        }

        std::vector<Proposal> proposals;
        for (const SourceString* candidate : m_unmatched) {
            const auto group = leftoversByTable.find(candidate->table);
            if (group == leftoversByTable.end())
                continue;
            const StringDiff::Prepared english = StringDiff::prepare(candidate->text);
            for (const Leftover& leftover : group->second) {
                if (StringDiff::similarityCeiling(leftover.english, english) < pairingThreshold)
                    continue;
                const double score = StringDiff::similarity(leftover.english, english);
                if (score >= pairingThreshold)
                    proposals.push_back({score, candidate, &leftover});
            }
        }
        std::stable_sort(proposals.begin(), proposals.end(),
                         [](const Proposal& a, const Proposal& b) { return a.score > b.score; });

        for (const Proposal& proposal : proposals) {
            std::string candidateId = proposal.candidate->id();
            const std::string& oldId = *proposal.leftover->id;
            if (m_takenCandidates.contains(candidateId) || m_takenLeftovers.contains(oldId))
                continue;
            m_takenCandidates.insert(std::move(candidateId));
            m_takenLeftovers.insert(oldId);
            const StringTranslation& translation = *proposal.leftover->translation;
            m_changes.changed.push_back({*proposal.candidate, translation.source, oldId, translation});
        }
    }

    const TranslationProject& m_project;
    const std::vector<SourceString>& m_strings;
    StringChanges m_changes;
    std::unordered_set<std::string> m_currentIds;
    std::vector<const SourceString*> m_candidates;
    std::vector<const SourceString*> m_unmatched;
    // Old id to translation of the gone strings not yet carried to a current string.
    std::map<std::string, const StringTranslation*> m_leftovers;
    SameTextIndex m_leftoverText;
    SameTextIndex m_retiredText;
    std::unordered_set<std::string> m_takenCandidates;
    std::unordered_set<std::string> m_takenLeftovers;
};

} // namespace

StringChanges StringChanges::compute(const TranslationProject& project,
                                     const std::vector<SourceString>& strings) {
    return ChangeFinder(project, strings).find();
}

std::vector<SourceString> StringChanges::toTranslate() const {
    std::vector<SourceString> out = added;
    out.reserve(added.size() + changed.size());
    for (const Change& change : changed)
        out.push_back(change.string);
    return out;
}

bool StringChanges::isEmpty() const {
    return added.empty() && changed.empty() && moved.empty() && removed.empty();
}

} // namespace orvel
