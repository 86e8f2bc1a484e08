#include "Orvel/app/BlockedWindowCloses.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace orvel {
namespace {

std::uint32_t internedAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!reply)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

std::optional<BlockedWindowCloses::Atoms> BlockedWindowCloses::displayAtoms() {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return std::nullopt;
    const Atoms atoms{internedAtom(x11->connection(), "WM_PROTOCOLS"),
                      internedAtom(x11->connection(), "WM_DELETE_WINDOW")};
    if (!atoms.protocols || !atoms.deleteWindow)
        return std::nullopt;
    return atoms;
}

BlockedWindowCloses::BlockedWindowCloses(QWidget& window, Atoms atoms) : m_window(&window), m_atoms(atoms) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

BlockedWindowCloses::~BlockedWindowCloses() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

bool BlockedWindowCloses::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // Without a modal window nothing blocks the close, and the toolkit hands it on as it comes.
    if (eventType != "xcb_generic_event_t" || !m_window || !m_window->isVisible() ||
        !QGuiApplication::modalWindow())
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* request = static_cast<const xcb_client_message_event_t*>(message);
    if (request->format != 32 || request->type != m_atoms.protocols ||
        request->data.data32[0] != m_atoms.deleteWindow || request->window != m_window->internalWinId())
        return false;
    // Closing ends the application, which may ask the person about edits: not from within the reading of
    // the window system's events.
    QMetaObject::invokeMethod(
        m_window,
        [window = m_window] {
            if (window)
                window->close();
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace orvel
