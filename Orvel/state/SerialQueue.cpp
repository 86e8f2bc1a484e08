#include "Orvel/state/SerialQueue.h"

#include "Orvel/state/Background.h"

namespace orvel {

SerialQueue::SerialQueue(QObject* receiver) : m_receiver(receiver) {}

void SerialQueue::enqueue(Job job) {
    {
        std::lock_guard lock(m_pending->mutex);
        m_pending->jobs.push_back(std::move(job));
        if (m_pending->draining)
            return;
        m_pending->draining = true;
    }
    // One worker at a time empties the queue; the next enqueue after it stops starts another.
    runInBackground(m_receiver, [pending = m_pending, receiver = QPointer<QObject>(m_receiver)] {
        drain(pending, receiver);
        return std::function<void()>();
    });
}

void SerialQueue::drain(const std::shared_ptr<Pending>& pending, const QPointer<QObject>& receiver) {
    for (;;) {
        Job job;
        {
            std::lock_guard lock(pending->mutex);
            if (pending->jobs.empty()) {
                pending->draining = false;
                return;
            }
            job = std::move(pending->jobs.front());
            pending->jobs.pop_front();
        }
        if (std::function<void()> continuation = job())
            onMainThread(receiver, std::move(continuation));
    }
}

} // namespace orvel
