#pragma once
// Random (version 4) UUIDs in their usual upper-case text form, for names that must not collide.

#include <string>

namespace orvel::Uuid {

// A new random UUID such as "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string make();

} // namespace orvel::Uuid
