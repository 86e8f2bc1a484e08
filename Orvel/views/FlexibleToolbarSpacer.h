#pragma once
// A flexible gap between toolbar items: it takes the room the items leave, so that the items after it
// stand at the toolbar's far end.

class QAction;
class QToolBar;

namespace orvel {

QAction* addFlexibleToolbarSpacer(QToolBar* toolBar);

} // namespace orvel
