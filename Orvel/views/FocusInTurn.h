#pragma once
// Controls that take each other's place, such as a main action that turns into "Stop" and back. When the
// control that has the keyboard focus goes or is disabled, the focus goes to the control that takes its
// place, never on along the focus chain, where it could land in a text field and turn the next key meant
// for the button into an edit.

#include <QWidget>

#include <initializer_list>
#include <utility>

namespace orvel {

// Shows or hides each control as paired. The focus of a control hidden here goes to the first control
// shown here, in the order given, or to `rest` when none is.
void showInTurn(std::initializer_list<std::pair<QWidget*, bool>> controls, QWidget* rest);

// Enables or disables `control`; when that takes its focus, the focus goes to `rest`.
void enableInTurn(QWidget* control, bool enabled, QWidget* rest);

} // namespace orvel
