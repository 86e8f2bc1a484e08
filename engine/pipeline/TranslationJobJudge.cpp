// The judge of review fixes: each fix is shown as a change both ways, and only a change that fixes a
// mistake one way and not the other may be applied.

#include <exception>

#include "core/Cancellation.h"
#include "core/ItemId.h"
#include "core/TaskGroup.h"
#include "core/TextPieces.h"
#include "core/TextPrefix.h"
#include "core/Unicode.h"
#include "engine/model/ChatClient.h"
#include "engine/model/JudgeRequest.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {
namespace {

constexpr std::size_t loggedAnswerCharacters = 300;
constexpr std::string_view fixVerdict = "fix";
constexpr std::string_view missingVerdict = "no verdict";

std::string verdictText(const json::Json& verdict) {
    for (const char* key : {"change", "verdict"})
        if (const auto value = verdict.find(key); value != verdict.end() && value->is_string())
            return text::lowercased(text::trimmed(value->get_ref<const std::string&>()));
    return {};
}

TranslationJob::VerdictMap verdictMap(const std::vector<json::Json>& verdicts) {
    TranslationJob::VerdictMap map;
    for (const auto& verdict : verdicts)
        map.insert_or_assign(json::itemId(verdict), verdictText(verdict));
    return map;
}

std::string verdictFor(const TranslationJob::VerdictMap& verdicts, const std::string& id) {
    const auto verdict = verdicts.find(id);
    return verdict == verdicts.end() ? std::string(missingVerdict) : verdict->second;
}

std::string describe(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}

} // namespace

std::map<std::string, std::string> TranslationJob::judge(const std::vector<JudgedChange>& changes,
                                                         const std::stop_token& stop) const {
    if (changes.empty())
        return {};
    const std::string system = Prompt::judgeSystem(app, language, notes, style, terms);
    std::optional<VerdictMap> forward;
    std::optional<VerdictMap> reversed;
    TaskGroup::run(
        2, 2,
        [&](std::size_t index, std::stop_token token) {
            const bool isReversed = index == 1;
            (isReversed ? reversed : forward) = judgeRequest(isReversed, changes, settings, system, token);
        },
        stop);

    std::map<std::string, std::string> reasons;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const std::string stringId = changes[i].string.id();
        if (!forward || !reversed) {
            reasons.insert_or_assign(stringId, "the judge did not answer");
            continue;
        }
        const std::string id = std::to_string(i + 1);
        const std::string forwardVerdict = verdictFor(*forward, id);
        if (forwardVerdict != fixVerdict)
            reasons.insert_or_assign(stringId, "judged " + forwardVerdict);
        else if (verdictFor(*reversed, id) == fixVerdict)
            reasons.insert_or_assign(stringId, "the reverse change was judged a fix too");
    }
    return reasons;
}

std::optional<TranslationJob::VerdictMap>
TranslationJob::judgeRequest(bool reversed, const std::vector<JudgedChange>& changes,
                             const ModelSettings& judgeSettings, const std::string& system,
                             const std::stop_token& stop) const {
    std::vector<Prompt::JudgeItem> items;
    items.reserve(changes.size());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto& change = changes[i];
        std::string before = ReviewNote::summary(change.before);
        std::string after = ReviewNote::summary(change.after);
        Prompt::JudgeItem item{std::to_string(i + 1), change.string.text, reversed ? after : before,
                               reversed ? before : after};
        if (const auto occurrences = context.occurrences.find(change.string.id());
            occurrences != context.occurrences.end())
            item.where = Prompt::wherePath(occurrences->second);
        items.push_back(std::move(item));
    }

    std::string answer;
    try {
        answer = requestVerdicts(items, system, judgeSettings, stop);
    } catch (const CancellationError&) {
        throw;
    } catch (...) {
        // A transfer cut short by a stop fails like any other; the stop, not the failure, is the news.
        throwIfCancelled(stop);
        if (onLog)
            onLog("judge request failed: " + describe(std::current_exception()));
        return std::nullopt;
    }

    const auto verdicts = ChatClient::jsonObject(answer, "verdicts");
    if (!verdicts) {
        if (onLog)
            onLog("judge answer has no verdicts list: " +
                  text::firstCharacters(answer, loggedAnswerCharacters));
        return std::nullopt;
    }
    return verdictMap(*verdicts);
}

} // namespace orvel
