#include "Orvel/views/FocusInTurn.h"

#include <QApplication>

namespace orvel {

namespace {

bool holdsFocus(const QWidget* control) {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

} // namespace

void showInTurn(std::initializer_list<std::pair<QWidget*, bool>> controls, QWidget* rest) {
    bool leaving = false;
    QWidget* taking = nullptr;
    for (const auto& [control, shown] : controls) {
        if (shown) {
            control->setVisible(true);
            if (!taking && control->isEnabled())
                taking = control;
        } else if (control->isVisible() && holdsFocus(control)) {
            leaving = true;
        }
    }
    // Handed over while the control still stands: hidden first, it would pass the focus on itself.
    if (leaving && (taking || rest))
        (taking ? taking : rest)->setFocus(Qt::OtherFocusReason);
    for (const auto& [control, shown] : controls)
        if (!shown)
            control->setVisible(false);
}

void enableInTurn(QWidget* control, bool enabled, QWidget* rest) {
    if (!enabled && control->isEnabled() && holdsFocus(control) && rest)
        rest->setFocus(Qt::OtherFocusReason);
    control->setEnabled(enabled);
}

} // namespace orvel
