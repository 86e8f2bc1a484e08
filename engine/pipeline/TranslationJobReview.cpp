// The review of a translated batch: the model proposes fixes, and only fixes that pass the same checks
// as a translation (and the judge, when asked for) replace what the batch produced.

#include <exception>
#include <set>

#include "core/Cancellation.h"
#include "core/ItemId.h"
#include "core/TextPrefix.h"
#include "engine/model/ChatClient.h"
#include "engine/model/ReviewRequest.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/AnswerFields.h"
#include "engine/pipeline/Normalizer.h"
#include "engine/pipeline/Terms.h"
#include "engine/pipeline/TranslationJob.h"
#include "engine/pipeline/Validation.h"

namespace orvel {
namespace {

constexpr std::size_t loggedAnswerCharacters = 300;

using Translations = std::map<std::string, StringTranslation>;

struct AcceptedFix {
    JudgedChange change;
    std::optional<std::string> problem;
};

class Review {
  public:
    Review(const TranslationJob& job, const Translations& translations)
        : m_job(job), m_translations(translations), m_glossary(Terms::list(job)) {}

    std::optional<std::string> termProblem(const SourceString& string,
                                           const StringTranslation& translation) const {
        return Validation::termProblem(string, translation.text, translation.plural, m_job.language,
                                       m_job.terms, m_glossary, m_job.reference);
    }

    // One review item per translated string, numbered by position in the batch.
    std::vector<Prompt::ReviewItem> items(const std::vector<SourceString>& batch) {
        std::vector<Prompt::ReviewItem> items;
        for (std::size_t position = 1; position <= batch.size(); ++position) {
            const SourceString& string = batch[position - 1];
            const auto translation = m_translations.find(string.id());
            if (translation == m_translations.end())
                continue;
            Prompt::ReviewItem item{std::to_string(position), string.text};
            if (translation->second.plural)
                item.plural = translation->second.plural;
            else
                item.translation = translation->second.text.value_or("");
            if (const auto occurrences = m_job.context.occurrences.find(string.id());
                occurrences != m_job.context.occurrences.end())
                item.where = Prompt::wherePath(occurrences->second);
            item.problem = termProblem(string, translation->second);
            m_itemStrings.insert_or_assign(item.id, string);
            m_reviewed.push_back(string);
            items.push_back(std::move(item));
        }
        return items;
    }

    const std::vector<SourceString>& reviewed() const { return m_reviewed; }

    // Checks every fix in answer order; fixes turned down are told to `onReview` at once.
    std::vector<AcceptedFix> accepted(const std::vector<json::Json>& fixes) const {
        std::vector<AcceptedFix> accepted;
        std::set<std::string> fixedIds;
        for (const auto& fix : fixes) {
            const auto string = m_itemStrings.find(json::itemId(fix));
            if (string == m_itemStrings.end())
                continue;
            const std::string stringId = string->second.id();
            const auto current = m_translations.find(stringId);
            if (current == m_translations.end() || fixedIds.contains(stringId))
                continue;
            auto candidate = proposed(fix, string->second, current->second);
            if (!candidate)
                continue;
            JudgedChange change{string->second, current->second, std::move(*candidate)};
            const std::optional<std::string> problem = AnswerFields::text(fix, "problem");
            if (const auto reason = rejection(change)) {
                tell(change, problem, *reason);
                continue;
            }
            fixedIds.insert(stringId);
            accepted.push_back({std::move(change), problem});
        }
        return accepted;
    }

    void tell(const JudgedChange& change, const std::optional<std::string>& problem,
              const std::optional<std::string>& reason) const {
        if (!m_job.onReview)
            return;
        m_job.onReview(ReviewNote{change.string.text, ReviewNote::summary(change.before),
                                  ReviewNote::summary(change.after), problem, !reason, reason});
    }

  private:
    // The translation the fix would make, cleaned; nothing when it gives no usable or no real change.
    std::optional<StringTranslation> proposed(const json::Json& fix, const SourceString& string,
                                              const StringTranslation& current) const {
        std::optional<Validation::PluralForms> forms = AnswerFields::pluralForms(fix);
        if (current.plural && !forms)
            return std::nullopt;
        StringTranslation after = current;
        if (forms) {
            after.plural = Normalizer::normalize(*forms, string.text, m_job.language);
            after.text.reset();
        } else if (const auto text = AnswerFields::text(fix, "text")) {
            after.text = Normalizer::normalize(*text, string.text, m_job.language);
        } else {
            return std::nullopt;
        }
        if (ReviewNote::summary(after) == ReviewNote::summary(current))
            return std::nullopt;
        return after;
    }

    std::optional<std::string> rejection(const JudgedChange& change) const {
        if (auto problem =
                Validation::problem(change.after.text, change.after.plural, change.string, m_job.language))
            return problem;
        if (auto problem = termProblem(change.string, change.after);
            problem && !termProblem(change.string, change.before))
            return problem;
        if (Terms::dropsChosenWord(change.string.text, ReviewNote::summary(change.before),
                                   ReviewNote::summary(change.after), m_job.terms, m_job.language))
            return "drops the word chosen for a term";
        return std::nullopt;
    }

    const TranslationJob& m_job;
    const Translations& m_translations;
    const std::set<std::string, std::less<>> m_glossary;
    // Item id to the string it numbers.
    std::map<std::string, SourceString> m_itemStrings;
    std::vector<SourceString> m_reviewed;
};

} // namespace

std::map<std::string, StringTranslation> TranslationJob::reviewBatch(const std::vector<SourceString>& batch,
                                                                     const Translations& translations,
                                                                     const std::stop_token& stop) const {
    Review review(*this, translations);
    const auto items = review.items(batch);
    if (items.empty())
        return translations;
    const std::string system = Prompt::reviewSystem(app, language, notes, style, terms);
    const std::string user = Prompt::reviewUser(items, Terms::present(terms, review.reviewed()));

    std::string answer;
    try {
        answer = requestReview(system, user, stop);
    } catch (const CancellationError&) {
        throw;
    } catch (const std::exception& error) {
        // A transfer cut short by a stop fails like any other; the stop, not the failure, is the news.
        throwIfCancelled(stop);
        if (onLog)
            onLog(std::string("review failed: ") + error.what());
        return translations;
    }

    const auto fixes = ChatClient::jsonObject(answer, "fixes");
    if (!fixes) {
        if (onLog)
            onLog("review answer has no fixes list: " +
                  text::firstCharacters(answer, loggedAnswerCharacters));
        return translations;
    }
    const auto accepted = review.accepted(*fixes);
    if (accepted.empty())
        return translations;

    std::map<std::string, std::string> reasons;
    if (verifyReview) {
        std::vector<JudgedChange> changes;
        changes.reserve(accepted.size());
        for (const auto& fix : accepted)
            changes.push_back(fix.change);
        reasons = judge(changes, stop);
    }

    Translations reviewed = translations;
    for (const auto& fix : accepted) {
        const auto reason = reasons.find(fix.change.string.id());
        if (reason == reasons.end()) {
            reviewed.insert_or_assign(fix.change.string.id(), fix.change.after);
            review.tell(fix.change, fix.problem, std::nullopt);
        } else {
            review.tell(fix.change, fix.problem, reason->second);
        }
    }
    return reviewed;
}

} // namespace orvel
