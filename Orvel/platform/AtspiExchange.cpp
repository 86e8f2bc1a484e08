#include "Orvel/platform/AtspiExchange.h"

#include <algorithm>
#include <chrono>

namespace orvel {

AtspiExchange::AtspiExchange(int timeoutMs)
    : m_timeout(timeoutMs),
      m_readDeadline(Clock::now() + std::chrono::duration_cast<Clock::duration>(wholeReadBound)) {}

namespace {

// How long one look at the connection may block: the longest a stop request waits to be noticed.
constexpr std::chrono::milliseconds slice{50};

struct PendingUnref {
    void operator()(DBusPendingCall* call) const {
        // A question given up must not be answered into a reply nobody reads.
        if (!dbus_pending_call_get_completed(call))
            dbus_pending_call_cancel(call);
        dbus_pending_call_unref(call);
    }
};
using PendingPtr = std::unique_ptr<DBusPendingCall, PendingUnref>;

bool answered(const PendingPtr& call) {
    return !call || dbus_pending_call_get_completed(call.get());
}

} // namespace

bool AtspiExchange::outOfTime() {
    if (Clock::now() >= m_readDeadline)
        m_givenUp = true;
    return m_givenUp;
}

bool AtspiExchange::saysProcessGone(DBusMessage* answer) {
    if (!answer || dbus_message_get_type(answer) != DBUS_MESSAGE_TYPE_ERROR)
        return false;
    // The bus answers for a process that has left it; with no time-outs of libdbus's own, a missing reply
    // only comes from a peer that disconnected.
    for (const char* name : {DBUS_ERROR_SERVICE_UNKNOWN, DBUS_ERROR_NAME_HAS_NO_OWNER, DBUS_ERROR_NO_REPLY,
                             DBUS_ERROR_DISCONNECTED})
        if (dbus_message_is_error(answer, name))
            return true;
    return false;
}

void AtspiExchange::ask(std::vector<Question> questions, const Answer& answer) {
    std::vector<PendingPtr> pending(questions.size());
    for (std::size_t i = 0; i < questions.size() && !givenUp(); ++i) {
        if (!questions[i].bus || !questions[i].message)
            continue;
        // No time-out of libdbus's own: the wait below keeps the time, so that no main loop's timer has
        // to fire for a question to end.
        DBusPendingCall* call = nullptr;
        if (!dbus_connection_send_with_reply(questions[i].bus, questions[i].message.get(), &call,
                                             DBUS_TIMEOUT_INFINITE) ||
            !call) {
            // Without a connection nothing more can be asked of anyone.
            m_givenUp = true;
            break;
        }
        pending[i].reset(call);
    }
    // The app may take its time over many answers: only a wait in which it answered nothing for the whole
    // time-out, or the bound of the whole read, gives the read up.
    Clock::time_point lastAnswer = Clock::now();
    std::size_t answeredBefore = 0;
    // Answers come mostly in the order asked, so the first unanswered question moves forward steadily.
    std::size_t first = 0;
    auto handOver = [&] {
        for (; first < pending.size() && answered(pending[first]) && !m_givenUp; ++first) {
            const DBusMessagePtr reply(pending[first] ? dbus_pending_call_steal_reply(pending[first].get())
                                                      : nullptr);
            pending[first].reset();
            if (saysProcessGone(reply.get())) {
                // Every later question gets the same answer at once; none of them counts.
                m_givenUp = true;
                break;
            }
            answer(first, reply.get());
        }
    };
    // Answers that came out of order count as signs of life too; counted only when the time-out is up.
    auto answeredSoFar = [&] {
        return first + static_cast<std::size_t>(std::count_if(
                           pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end(), answered));
    };
    while (true) {
        const std::size_t before = first;
        handOver();
        if (first == pending.size() || givenUp())
            break;
        Clock::time_point now = Clock::now();
        if (first != before) {
            lastAnswer = now;
            answeredBefore = first;
        }
        if (now >= lastAnswer + m_timeout) {
            const std::size_t answeredNow = answeredSoFar();
            if (answeredNow == answeredBefore) {
                m_givenUp = true;
                break;
            }
            answeredBefore = answeredNow;
            lastAnswer = now;
        }
        if (now >= m_readDeadline) {
            m_givenUp = true;
            break;
        }
        const auto wait =
            std::min<Clock::duration>({slice, lastAnswer + m_timeout - now, m_readDeadline - now});
        const int waitMs =
            std::max(1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
        // Dispatching hands each answer to its pending call; other messages go to libatspi as its own
        // calls would have handed them.
        if (!dbus_connection_read_write_dispatch(questions[first].bus, waitMs)) {
            m_givenUp = true;
            break;
        }
    }
    for (; first < pending.size(); ++first) {
        pending[first].reset();
        answer(first, nullptr);
    }
}

std::vector<DBusMessagePtr> AtspiExchange::ask(std::vector<Question> questions) {
    std::vector<DBusMessagePtr> out(questions.size());
    ask(std::move(questions), [&](std::size_t question, DBusMessage* answer) {
        if (answer)
            out[question].reset(dbus_message_ref(answer));
    });
    return out;
}

} // namespace orvel
