#pragma once
// The modal alerts of the application's commands, so that the state can report an outcome without
// widgets: the views show them as message boxes, tests record them.

#include <QString>

namespace orvel {

struct Alert {
    QString message;
    QString informativeText;

    bool operator==(const Alert&) const = default;
};

class Alerts {
  public:
    virtual ~Alerts() = default;
    // Shows `alert` with its one default button and returns when the person has dismissed it.
    virtual void show(const Alert& alert) = 0;
};

} // namespace orvel
