#include "Orvel/views/FirstRowOnArrow.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace orvel {

void FirstRowOnArrow::install(QAbstractItemView* view) {
    view->installEventFilter(new FirstRowOnArrow(view));
}

FirstRowOnArrow::FirstRowOnArrow(QAbstractItemView* view) : QObject(view), m_view(view) {}

bool FirstRowOnArrow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Down && key->key() != Qt::Key_Up) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const QAbstractItemModel* model = m_view->model();
    if (!model || model->rowCount(m_view->rootIndex()) == 0 || m_view->selectionModel()->hasSelection())
        return false;
    const QModelIndex first = model->index(0, 0, m_view->rootIndex());
    m_view->setCurrentIndex(first);
    m_view->scrollTo(first);
    return true;
}

} // namespace orvel
