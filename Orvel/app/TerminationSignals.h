#pragma once
// Ending the session or pressing Ctrl+C in a terminal ends Orvel through the same way as its Quit
// command, so that edits waiting for their save are written: SIGTERM, SIGINT and SIGHUP are turned into
// a signal on the main thread.

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace orvel {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    // One object per process; the signals get their earlier handling back when it ends.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void received();

  private:
    void drain();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace orvel
