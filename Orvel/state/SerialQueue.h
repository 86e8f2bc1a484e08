#pragma once
// Work that must happen in the order it was asked for (each keystroke's key write, so that the last
// value typed is the one that stays), one job at a time off the main thread. A job's continuation runs
// on the main thread while the receiver lives; jobs still queued when it goes run all the same.

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace orvel {

class SerialQueue {
  public:
    using Job = std::function<std::function<void()>()>;

    // `receiver` is a main-thread object, and the queue is made on the main thread.
    explicit SerialQueue(QObject* receiver);

    // Runs `job` after every job enqueued before it has finished.
    void enqueue(Job job);

  private:
    struct Pending {
        std::mutex mutex;
        std::deque<Job> jobs;
        bool draining = false;
    };

    static void drain(const std::shared_ptr<Pending>& pending, const QPointer<QObject>& receiver);

    QObject* m_receiver;
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
};

} // namespace orvel
