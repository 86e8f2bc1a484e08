#include "engine/apps/UpdateTermChoice.h"

#include <utility>

namespace orvel {

UpdateTermChoice::UpdateTermChoice(MakeJob make, bool ahead, const std::stop_token& stop)
    : m_forward(stop, Forward{&m_stop}) {
    // Without a thread to be had, the job is made when it is taken, as without `ahead`.
    const std::launch policy = ahead ? std::launch::async | std::launch::deferred : std::launch::deferred;
    m_job = std::async(policy, [make = std::move(make), token = m_stop.get_token()] { return make(token); });
}

UpdateTermChoice::~UpdateTermChoice() {
    // The future of a job made ahead waits for its thread as it goes; one deferred is never made.
    m_stop.request_stop();
}

TranslationJob UpdateTermChoice::take() {
    return m_job.get();
}

} // namespace orvel
