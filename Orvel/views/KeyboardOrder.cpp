#include "Orvel/views/KeyboardOrder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollArea>

#include <algorithm>

namespace orvel {

namespace {

bool insideItemView(const QWidget* widget) {
    for (const QWidget* above = widget->parentWidget(); above && !above->isWindow();
         above = above->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(above))
            return true;
    return false;
}

bool isStop(QWidget* widget, QWidget* root) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy() &&
           widget->isEnabled() && widget->isVisibleTo(root->window()) && !insideItemView(widget);
}

// The stops of `root` in order, and `marked` among them in its place when it is found there.
void appendStops(QWidget* root, std::vector<QWidget*>& stops, const QWidget* marked = nullptr) {
    if (const auto* parts = dynamic_cast<const KeyboardParts*>(root)) {
        for (QWidget* part : parts->keyboardParts())
            if (part && part->isVisibleTo(root->window()))
                appendStops(part, stops, marked);
        return;
    }
    if (isStop(root, root) || root == marked)
        stops.push_back(root);
    QWidget* window = root->window();
    for (QWidget* next = window->nextInFocusChain(); next && next != window; next = next->nextInFocusChain())
        if (next != root && root->isAncestorOf(next) && (isStop(next, root) || next == marked))
            stops.push_back(next);
}

void scrollIntoView(QWidget* widget) {
    for (QWidget* above = widget->parentWidget(); above; above = above->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(above))
            area->ensureWidgetVisible(widget);
}

std::ptrdiff_t indexOf(const std::vector<QWidget*>& stops, const QWidget* widget) {
    const auto found = std::find(stops.begin(), stops.end(), widget);
    return found == stops.end() ? -1 : found - stops.begin();
}

// Where Tab goes on from: the stop the focus is at (the focus widget, or the stop it belongs to, such as
// the item view of a cell editor), else the stop next to the focus widget in reading order, else the
// stop the focus chain reaches first from the focus widget; none without a focus in the window.
struct Position {
    std::ptrdiff_t stop = -1;
    // The focus is before `stop` (going forward) or after it (going back), not at it.
    bool between = false;
};

Position position(QWidget* root, const std::vector<QWidget*>& stops, bool forward) {
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* at = focus; at; at = at->parentWidget())
        if (const std::ptrdiff_t stop = indexOf(stops, at); stop >= 0)
            return {stop, false};
    if (!focus)
        return {};
    // A widget Tab does not stop at (given the focus by the mouse or the program) stands in reading order
    // among the stops; the focus chain alone may run another way, as when a part was built later.
    std::vector<QWidget*> marked;
    appendStops(root, marked, focus);
    if (const std::ptrdiff_t at = indexOf(marked, focus); at >= 0 && marked.size() > 1) {
        const auto count = static_cast<std::ptrdiff_t>(marked.size());
        const QWidget* next = marked[static_cast<std::size_t>((at + (forward ? 1 : count - 1)) % count)];
        return {indexOf(stops, next), true};
    }
    for (QWidget* next = forward ? focus->nextInFocusChain() : focus->previousInFocusChain();
         next && next != focus; next = forward ? next->nextInFocusChain() : next->previousInFocusChain())
        if (const std::ptrdiff_t stop = indexOf(stops, next); stop >= 0)
            return {stop, true};
    return {};
}

} // namespace

std::vector<QWidget*> tabStops(QWidget* root) {
    std::vector<QWidget*> stops;
    appendStops(root, stops);
    return stops;
}

bool moveFocusWithin(QWidget* root, bool forward) {
    const std::vector<QWidget*> stops = tabStops(root);
    if (stops.empty())
        return false;
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    const Position at = position(root, stops, forward);
    std::ptrdiff_t next = 0;
    if (at.stop < 0)
        next = forward ? 0 : count - 1;
    else if (at.between)
        next = at.stop;
    else
        next = (at.stop + (forward ? 1 : count - 1)) % count;
    QWidget* stop = stops[static_cast<std::size_t>(next)];
    stop->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    scrollIntoView(stop);
    return true;
}

} // namespace orvel
