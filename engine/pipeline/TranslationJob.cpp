#include "engine/pipeline/TranslationJob.h"

#include "engine/model/ChatClient.h"
#include "engine/model/JudgeRequest.h"

namespace orvel {

TranslationJob::TranslationJob(AppProfile app, std::string language, ModelSettings settings, AppNotes notes,
                               ContextMap context, TranslationStyle style,
                               std::map<std::string, std::string> terms, bool review, bool verifyReview)
    : app(std::move(app)), language(std::move(language)), settings(std::move(settings)),
      notes(std::move(notes)), context(std::move(context)), style(style), terms(std::move(terms)),
      review(review), verifyReview(verifyReview) {}

std::string TranslationJob::requestTranslations(std::string system, std::string user,
                                                const std::stop_token& stop) const {
    return RequestRetry::send(ChatClient{settings}, std::move(system), std::move(user), stop, retryPause);
}

std::string TranslationJob::requestReview(std::string system, std::string user,
                                          const std::stop_token& stop) const {
    return RequestRetry::send(ChatClient{settings}, std::move(system), std::move(user), stop, retryPause);
}

std::string TranslationJob::requestVerdicts(const std::vector<Prompt::JudgeItem>& items, std::string system,
                                            const ModelSettings& judgeSettings,
                                            const std::stop_token& stop) const {
    return RequestRetry::send(ChatClient{judgeSettings}, std::move(system), Prompt::judgeUser(items), stop,
                              retryPause);
}

} // namespace orvel
