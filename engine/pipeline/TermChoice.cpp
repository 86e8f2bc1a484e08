#include "engine/pipeline/TermChoice.h"

#include "engine/model/ChatClient.h"
#include "engine/model/TermsRequest.h"

namespace orvel::Terms {

std::string request(const TranslationJob& job, const std::vector<Prompt::TermItem>& items, std::string system,
                    const std::stop_token& stop) {
    return RequestRetry::send(ChatClient{job.settings}, std::move(system), Prompt::termsUser(items), stop,
                              job.retryPause);
}

} // namespace orvel::Terms
