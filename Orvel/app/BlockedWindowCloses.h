#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace orvel {

// The toolkit drops a window manager's close (WM_DELETE_WINDOW) of a window that a modal window blocks,
// before the window hears of it. This filter hands such a close of its window to the window itself, as
// its own close command would, so that a close is never lost while an alert or a sheet is shown.
class BlockedWindowCloses : public QAbstractNativeEventFilter {
  public:
    // The X atoms that name a close request.
    struct Atoms {
        std::uint32_t protocols = 0;
        std::uint32_t deleteWindow = 0;
    };
    // The atoms of the X display the application shows its windows on; none on another platform.
    static std::optional<Atoms> displayAtoms();

    BlockedWindowCloses(QWidget& window, Atoms atoms);
    ~BlockedWindowCloses() override;
    BlockedWindowCloses(const BlockedWindowCloses&) = delete;
    BlockedWindowCloses& operator=(const BlockedWindowCloses&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QPointer<QWidget> m_window;
    Atoms m_atoms;
};

} // namespace orvel
