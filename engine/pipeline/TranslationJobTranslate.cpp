// One batch: the translate request, the checks of its answer and the single re-ask of what failed.

#include <optional>
#include <set>

#include "core/FormatSpecifiers.h"
#include "core/ItemId.h"
#include "core/PluralRules.h"
#include "engine/model/ChatClient.h"
#include "engine/model/PluralExamples.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/AnswerFields.h"
#include "engine/pipeline/Normalizer.h"
#include "engine/pipeline/Terms.h"
#include "engine/pipeline/TranslationJob.h"
#include "engine/pipeline/Validation.h"
#include "engine/pipeline/VariableMasking.h"

namespace orvel {
namespace {

constexpr std::string_view unanswered = "the answer had no translation for this item";

using Forms = std::map<std::string, std::string>;

bool countsWholeNumberOnce(std::string_view text) {
    std::size_t count = 0;
    for (const auto& specifier : FormatSpecifiers::parse(text))
        count += specifier.isWholeNumber() ? 1 : 0;
    return count == 1;
}

// The working state of one call, kept over both passes.
class BatchTranslation {
  public:
    BatchTranslation(const TranslationJob& job, const std::string& system,
                     const std::map<std::string, StringTranslation>& existing,
                     const std::map<std::string, std::string>& feedback, const std::stop_token& stop)
        : m_job(job), m_system(system), m_existing(existing), m_feedback(feedback), m_stop(stop),
          m_counting(PluralRules::categories(job.language).size() >= 2),
          m_pluralDescription(PluralExamples::describe(job.language)), m_glossary(Terms::list(job)) {}

    TranslationJob::BatchResult run(const std::vector<SourceString>& batch) {
        if (batch.empty())
            return {};
        pass(batch, false);
        std::vector<SourceString> again;
        for (const auto& string : batch)
            if (m_result.failed.contains(string.id()))
                again.push_back(string);
        if (!again.empty())
            pass(again, true);
        for (auto& [id, fallback] : m_fallbacks) {
            if (m_result.translations.contains(id))
                continue;
            m_result.failed.erase(id);
            m_result.translations.emplace(id, std::move(fallback));
        }
        return std::move(m_result);
    }

  private:
    struct Sent {
        const SourceString* string;
        std::vector<std::string> variables;
    };

    void pass(const std::vector<SourceString>& strings, bool reask) {
        std::map<std::string, Sent> sent;
        std::vector<Prompt::Item> items;
        for (const auto& string : strings) {
            const std::string itemId = std::to_string(items.size() + 1);
            auto masked = VariableMasking::maskVariables(string.text);
            items.push_back(item(string, itemId, std::move(masked.text), reask));
            sent.emplace(itemId, Sent{&string, std::move(masked.variables)});
        }
        const std::string answer = m_job.requestTranslations(
            m_system, Prompt::translateUser(items, Terms::present(m_job.terms, strings)), m_stop);

        std::set<std::string> answered;
        for (const auto& object :
             ChatClient::jsonObject(answer, "translations").value_or(std::vector<json::Json>{})) {
            const auto entry = sent.find(json::itemId(object));
            if (entry == sent.end())
                continue;
            answered.insert(entry->second.string->id());
            judge(object, *entry->second.string, entry->second.variables, reask);
        }
        for (const auto& string : strings)
            if (!answered.contains(string.id()))
                m_result.failed.try_emplace(string.id(), unanswered);
    }

    Prompt::Item item(const SourceString& string, std::string itemId, std::string maskedText,
                      bool reask) const {
        const std::string stringId = string.id();
        Prompt::Item item{.id = std::move(itemId), .text = std::move(maskedText)};
        if (string.plural && m_counting)
            item.plural = m_pluralDescription;
        else if (m_counting && countsWholeNumberOnce(string.text))
            item.countable = true;
        if (const auto places = m_job.context.occurrences.find(stringId);
            places != m_job.context.occurrences.end())
            item.where = Prompt::wherePath(places->second);
        item.note = string.comment;
        if (string.key != string.text && string.key.find(' ') == std::string::npos)
            item.key = string.key;
        if (const auto current = m_existing.find(stringId); current != m_existing.end())
            item.current = current->second.displayText();
        if (const auto wish = m_feedback.find(stringId); wish != m_feedback.end())
            item.feedback = wish->second;
        if (reask)
            item.problem = m_result.failed.at(stringId);
        if (m_job.reference)
            if (auto hints = m_job.reference->hints(string.text); !hints.empty())
                item.os = std::move(hints);
        item.phrases = m_job.phrases(string.text);
        return item;
    }

    std::string cleaned(std::string_view text, const std::vector<std::string>& variables,
                        const SourceString& string) const {
        return Normalizer::normalize(VariableMasking::unmaskVariables(text, variables), string.text,
                                     m_job.language);
    }

    // Only strings without an accepted answer get here, so a string never ends both translated and failed.
    void fail(const std::string& stringId, std::string reason) {
        m_result.failed[stringId] = std::move(reason);
    }

    void judge(const json::Json& object, const SourceString& string,
               const std::vector<std::string>& variables, bool reask) {
        const std::string stringId = string.id();
        // The first answer that passes wins: a later object for the same item, repeated or broken,
        // must not throw a good translation away.
        if (m_result.translations.contains(stringId))
            return;
        std::optional<std::string> text = AnswerFields::text(object, "text");
        if (text)
            text = cleaned(*text, variables, string);
        std::optional<Forms> forms = AnswerFields::pluralForms(object);
        if (forms)
            for (auto& [category, form] : *forms)
                form = cleaned(form, variables, string);

        if (auto problem = Validation::problem(text, forms, string, m_job.language)) {
            fail(stringId, std::move(*problem));
            return;
        }
        if (string.plural && m_counting && !forms) {
            fail(stringId, "this string counts something: give \"plural\" forms for " + m_pluralDescription);
            return;
        }
        StringTranslation translation;
        if (forms)
            translation.plural = forms;
        else
            translation.text = text;
        translation.origin = StringTranslation::Origin::model;
        translation.model = m_job.settings.model;
        translation.source = string.text;
        translation.updated = Dates::now();

        if (!reask) {
            if (auto problem = Validation::termProblem(string, text, forms, m_job.language, m_job.terms,
                                                       m_glossary, m_job.reference)) {
                fail(stringId, std::move(*problem));
                m_fallbacks[stringId] = std::move(translation);
                return;
            }
        }
        m_result.failed.erase(stringId);
        m_result.translations[stringId] = std::move(translation);
    }

    const TranslationJob& m_job;
    const std::string& m_system;
    const std::map<std::string, StringTranslation>& m_existing;
    const std::map<std::string, std::string>& m_feedback;
    const std::stop_token& m_stop;
    const bool m_counting;
    const std::string m_pluralDescription;
    const Terms::WordSet m_glossary;
    TranslationJob::BatchResult m_result;
    // First-pass answers whose only fault was a term rule; kept when the re-ask brings nothing better.
    std::map<std::string, StringTranslation> m_fallbacks;
};

} // namespace

TranslationJob::BatchResult
TranslationJob::translateBatch(const std::vector<SourceString>& batch, const std::string& system,
                               const std::map<std::string, StringTranslation>& existing,
                               const std::map<std::string, std::string>& feedback,
                               const std::stop_token& stop) const {
    return BatchTranslation(*this, system, existing, feedback, stop).run(batch);
}

} // namespace orvel
