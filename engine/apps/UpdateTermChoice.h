#pragma once
// An update's translation job and its key terms, made while the update's own steps are applied. For a
// caller that holds the project those steps are handed over and cannot fail, so the key-term requests
// need not wait for them; elsewhere the steps are saved first, and the job is made only when taken.

#include <functional>
#include <future>
#include <stop_token>

#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class UpdateTermChoice {
  public:
    // Makes the job with its key terms chosen, ending early when the token is stopped.
    using MakeJob = std::function<TranslationJob(const std::stop_token&)>;

    // Starts `make` on a thread of its own when `ahead` is set and a thread can be had; it is stopped
    // when `stop` is.
    UpdateTermChoice(MakeJob make, bool ahead, const std::stop_token& stop);
    // A choice still going is stopped and waited for.
    ~UpdateTermChoice();
    UpdateTermChoice(const UpdateTermChoice&) = delete;
    UpdateTermChoice& operator=(const UpdateTermChoice&) = delete;

    // The job, once made; throws the error that ended its making (a failed request, a stop).
    TranslationJob take();

  private:
    struct Forward {
        std::stop_source* source;
        void operator()() const { source->request_stop(); }
    };

    std::stop_source m_stop;
    std::stop_callback<Forward> m_forward;
    std::future<TranslationJob> m_job;
};

} // namespace orvel
