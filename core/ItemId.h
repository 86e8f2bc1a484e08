#pragma once
// The id a model answer gives one of the numbered items it was sent.

#include <string>

#include "core/Json.h"

namespace orvel::json {

// The "id" of an answer object, written as text or as a whole number (its decimal text); anything else
// names no item and gives the empty text.
std::string itemId(const Json& object);

} // namespace orvel::json
