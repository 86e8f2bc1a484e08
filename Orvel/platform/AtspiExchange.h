#pragma once
// One read's questions to other processes over libatspi's connection. The questions of a batch go out
// together and their answers are waited for in short slices: a stop request ends the wait at once. An app
// that keeps answering is read however slowly; one that answers nothing for the whole time-out gives up
// the rest of the read, so a hung app costs one time-out per read, not one per question. Callers hold
// atspiLock().

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

#include <atspi/atspi.h>

namespace orvel {

struct DBusMessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using DBusMessagePtr = std::unique_ptr<DBusMessage, DBusMessageUnref>;

class AtspiExchange {
  public:
    struct Question {
        DBusConnection* bus = nullptr;
        // Null asks nothing.
        DBusMessagePtr message;
    };

    using Clock = std::chrono::steady_clock;

    // However steadily an app answers, one read ends this long after it began, with what it has: an app
    // that trickles out answers just inside the time-out must not hold a capture for hours.
    static constexpr std::chrono::seconds wholeReadBound{60};

    // The read's time starts now.
    explicit AtspiExchange(int timeoutMs);

    void setTimeout(int milliseconds) { m_timeout = std::chrono::milliseconds(milliseconds); }
    int timeoutMs() const { return static_cast<int>(m_timeout.count()); }
    void setStop(std::stop_token stop) { m_stop = std::move(stop); }
    // For tests: the moment the read gives up however it goes.
    void setReadDeadline(Clock::time_point deadline) { m_readDeadline = deadline; }

    // The read was stopped, a process did not answer in time, or it is gone: nothing more is asked.
    bool givenUp() const { return m_givenUp || m_stop.stop_requested(); }
    // The read was cut by the time-out, its bound, the app's end or a part it could not place (not by a
    // stop): part of what it asked is missing.
    bool cut() const { return m_givenUp || m_partial; }
    // For a call made outside ask() that ran into the time-out, or found the app gone.
    void giveUp() { m_givenUp = true; }
    // Part of what the app shows was left out, the rest is still read.
    void markPartial() { m_partial = true; }
    // For calls made outside ask(): true, and the read given up, once its bound has passed.
    bool outOfTime();

    // Whether an answer says that its process is gone: its bus name has left, or the connection to it was
    // lost. Such an answer is no answer to what was asked.
    static bool saysProcessGone(DBusMessage* answer);

    // Hands over the answer to each question, in order, as soon as it and those before it are answered:
    // a method return or an error, or null for a question that asked nothing, was not answered, or came
    // after the read was given up. The other process works on the later questions meanwhile.
    using Answer = std::function<void(std::size_t question, DBusMessage* answer)>;
    void ask(std::vector<Question> questions, const Answer& answer);
    // The answers of all questions at once.
    std::vector<DBusMessagePtr> ask(std::vector<Question> questions);

  private:
    std::chrono::milliseconds m_timeout;
    Clock::time_point m_readDeadline;
    std::stop_token m_stop;
    bool m_givenUp = false;
    bool m_partial = false;
};

} // namespace orvel
