#pragma once
// The text shown for why an Apple model back-end cannot be used now.

#include <QString>

#include <string>

namespace orvel {

// The translated text of a reason the back-ends give (the missing shortcut, with its name kept as it is,
// and the five reasons of the on-device model); any other reason as it stands.
QString unavailableReason(const std::string& reason);

} // namespace orvel
