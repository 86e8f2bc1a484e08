#include "Orvel/state/QtTimerFactory.h"

#include <QTimer>

namespace orvel {
namespace {

class QtRestartableTimer : public RestartableTimer {
  public:
    explicit QtRestartableTimer(std::function<void()> fire) {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [fire = std::move(fire)] { fire(); });
    }

    void start(std::chrono::milliseconds delay) override { m_timer.start(delay); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

  private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<RestartableTimer> QtTimerFactory::makeTimer(std::function<void()> fire) {
    return std::make_unique<QtRestartableTimer>(std::move(fire));
}

} // namespace orvel
