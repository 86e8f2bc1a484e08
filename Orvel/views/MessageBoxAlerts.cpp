#include "Orvel/views/MessageBoxAlerts.h"

#include <QApplication>
#include <QMessageBox>

#include "Orvel/views/PlainText.h"

namespace orvel {

void MessageBoxAlerts::show(const Alert& alert) {
    QMessageBox box(m_parent ? m_parent.data() : QApplication::activeWindow());
    box.setObjectName(QStringLiteral("alert"));
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(QApplication::applicationDisplayName());
    setPlainMessage(&box, alert.message, alert.informativeText);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace orvel
