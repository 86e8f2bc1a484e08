#include "Orvel/views/FlexibleToolbarSpacer.h"

#include <QToolBar>
#include <QWidget>

namespace orvel {

QAction* addFlexibleToolbarSpacer(QToolBar* toolBar) {
    auto* spacer = new QWidget(toolBar);
    spacer->setObjectName(QStringLiteral("flexibleToolbarSpacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return toolBar->addWidget(spacer);
}

} // namespace orvel
