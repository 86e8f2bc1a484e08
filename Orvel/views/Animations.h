#pragma once
// One switch for the views' own animations. Tests and screenshots turn it off so that every frame
// they look at is the same.

namespace orvel::Animations {

bool enabled();
void setEnabled(bool enabled);

} // namespace orvel::Animations
