#pragma once
// The application's alerts as modal message boxes with one OK button; their texts are shown as plain
// text, since they may carry a file system's or a server's words.

#include <QPointer>
#include <QWidget>

#include "Orvel/state/Alerts.h"

namespace orvel {

class MessageBoxAlerts : public Alerts {
  public:
    // Alerts are shown over `parent` while it exists, else over the active window.
    explicit MessageBoxAlerts(QWidget* parent = nullptr) : m_parent(parent) {}

    void show(const Alert& alert) override;

  private:
    QPointer<QWidget> m_parent;
};

} // namespace orvel
