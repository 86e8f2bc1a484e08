#pragma once
// What the sidebar shows while it knows no app: a symbol, "No translatable apps" and a link to the page
// about the apps that work with Orvel.

#include "Orvel/views/UrlOpener.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace orvel {

class SidebarEmptyState : public QWidget {
    Q_OBJECT
  public:
    explicit SidebarEmptyState(UrlOpener openUrl, QWidget* parent = nullptr);

    QLabel* title() const { return m_title; }
    QPushButton* helpLink() const { return m_helpLink; }

  private:
    QLabel* m_title;
    QPushButton* m_helpLink;
};

} // namespace orvel
