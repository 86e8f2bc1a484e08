#include "engine/pipeline/TermChoice.h"

#include <algorithm>
#include <set>

#include "core/CharacterCase.h"
#include "core/Regex.h"
#include "core/TextPieces.h"
#include "core/TextSplitting.h"
#include "core/Unicode.h"
#include "engine/model/ChatClient.h"
#include "engine/model/LanguageNotes.h"
#include "engine/model/TermsRequest.h"
#include "engine/pipeline/Normalizer.h"

namespace orvel::Terms {
namespace {

constexpr std::size_t examplesPerTerm = 2;
constexpr std::size_t evidenceEntries = 3;

// The manifest's glossary, then the person's.
std::vector<AppManifest::Term> combinedGlossary(const TranslationJob& job) {
    std::vector<AppManifest::Term> glossary;
    if (job.app.manifest && job.app.manifest->glossary)
        glossary = *job.app.manifest->glossary;
    glossary.insert(glossary.end(), job.notes.glossary.begin(), job.notes.glossary.end());
    return glossary;
}

void keepGlossaryInEnglish(const std::vector<AppManifest::Term>& glossary, TermMap& result) {
    for (const AppManifest::Term& entry : glossary)
        if (entry.translate == false)
            result.insert_or_assign(entry.term, entry.term);
}

// The language's own words for terms, where the strings use the term and it is not chosen yet.
void addNoteTerms(const std::vector<SourceString>& strings, const TranslationJob& job, TermMap& result) {
    const auto notes = LanguageNotes::notes(job.language);
    if (!notes)
        return;
    const std::vector<std::string> keys = lowercasedKeys(result);
    const std::set<std::string, std::less<>> chosen(keys.begin(), keys.end());
    for (const auto& [english, word] : notes->fixedTerms(job.style))
        if (!chosen.contains(text::lowercased(english)) && Search(english).inAny(strings))
            result.insert_or_assign(english, word);
}

// The key terms of the strings that are still open; abbreviations among them are kept as written.
std::vector<std::string> pendingTerms(const std::vector<SourceString>& strings, std::size_t limit,
                                      const std::vector<AppManifest::Term>& glossary, TermMap& result) {
    const std::vector<std::string> keys = lowercasedKeys(result);
    const std::set<std::string, std::less<>> chosen(keys.begin(), keys.end());
    std::vector<std::string> pending;
    for (std::string& term : candidates(strings, glossary, limit)) {
        if (chosen.contains(text::lowercased(term)))
            continue;
        if (isCapitalised(term))
            result.insert_or_assign(term, term);
        else
            pending.push_back(std::move(term));
    }
    return pending;
}

} // namespace

Prompt::TermItem termItem(const std::string& term, const std::vector<SourceString>& strings,
                          const TranslationJob& job) {
    Prompt::TermItem item{.term = term};
    const Search search(term);
    for (const SourceString& string : strings) {
        if (item.examples.size() == examplesPerTerm)
            break;
        if (string.translate && search.in(string.text))
            item.examples.push_back(string.text);
    }
    if (job.reference) {
        const std::string lowered = text::lowercased(term);
        for (const auto& [english, wording] : job.reference->pairs(term))
            if (text::lowercased(english) == lowered) {
                item.os = "«" + wording + "»";
                break;
            }
    }
    if (job.softwareReference)
        item.evidence = job.softwareReference->evidence(term, evidenceEntries);
    return item;
}

TermMap choose(const std::vector<SourceString>& strings, std::size_t limit, const TranslationJob& job,
               const std::stop_token& stop) {
    TermMap result = job.terms;
    const std::vector<AppManifest::Term> glossary = combinedGlossary(job);
    keepGlossaryInEnglish(glossary, result);
    addNoteTerms(strings, job, result);
    const std::vector<std::string> pending = pendingTerms(strings, limit, glossary, result);
    if (pending.empty())
        return result;

    std::vector<Prompt::TermItem> items;
    items.reserve(pending.size());
    for (const std::string& term : pending)
        items.push_back(termItem(term, strings, job));
    const bool evidence =
        std::any_of(items.begin(), items.end(), [](const Prompt::TermItem& item) { return item.evidence; });
    const std::string system = Prompt::termsSystem(job.app, job.language, job.notes, job.style, evidence);

    for (std::size_t start = 0; start < items.size(); start += termsPerRequest) {
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(start);
        const std::vector<Prompt::TermItem> chunk(
            first, first + static_cast<std::ptrdiff_t>(std::min(termsPerRequest, items.size() - start)));
        parse(request(job, chunk, system, stop), chunk, job.language, result);
    }
    return result;
}

void parse(std::string_view answer, const std::vector<Prompt::TermItem>& chunk, std::string_view language,
           TermMap& result) {
    std::set<std::string, std::less<>> asked;
    for (const Prompt::TermItem& item : chunk)
        asked.insert(text::lowercased(item.term));
    for (const json::Json& object :
         ChatClient::jsonObject(answer, "terms").value_or(std::vector<json::Json>{})) {
        const auto term = object.find("term");
        const auto translation = object.find("translation");
        if (term == object.end() || !term->is_string() || translation == object.end() ||
            !translation->is_string())
            continue;
        const auto& english = term->get_ref<const std::string&>();
        const std::string_view word = text::trimmed(translation->get_ref<const std::string&>());
        if (!asked.contains(text::lowercased(english)) || word.empty())
            continue;
        result.insert_or_assign(english, lowercaseFirst(Normalizer::normalize(word, english, language)));
    }
}

std::string lowercaseFirst(std::string_view text) {
    const std::vector<std::string> words = text::wordsBetweenSpaces(text);
    if (words.empty())
        return std::string(text);
    const auto characters = text::graphemes(words.front());
    if (characters.size() < 2)
        return std::string(text);
    // A capital inside the first word marks a name ("macOS", "OSD", "iPhone"), not the start of a label.
    for (std::size_t i = 1; i < characters.size(); ++i)
        if (text::isLetter(characters[i]) && !text::isLowercaseCharacter(characters[i]))
            return std::string(text);
    const std::string_view first = text::graphemes(text).front();
    return text::lowercased(first) + std::string(text.substr(first.size()));
}

std::vector<std::string> lowercasedKeys(const TermMap& terms) {
    std::vector<std::string> keys;
    keys.reserve(terms.size());
    for (const auto& [term, word] : terms)
        keys.push_back(text::lowercased(term));
    return keys;
}

std::string request(const TranslationJob& job, const std::vector<Prompt::TermItem>& items, std::string system,
                    const std::stop_token& stop) {
    return RequestRetry::send(ChatClient{job.settings}, std::move(system), Prompt::termsUser(items), stop,
                              job.retryPause);
}

} // namespace orvel::Terms
