#pragma once
// The object table of a binary property list ("bplist00"), read without recursion, so that a file can
// be measured before the platform's parser expands it.

#include <optional>
#include <string_view>

#include "core/Json.h"
#include "core/PropertyListLimits.h"

namespace orvel::BinaryPropertyList {

// Walks the objects reachable from the top object as the parser would expand them: each reference
// counts its object (and the object's text bytes) once more, at the depth where it is referenced.
// `malformed` for a file whose table, offsets or references do not hold together.
PropertyListShape measure(std::string_view bytes, const PropertyListLimits& limits);

// The top object's keys with their string, Boolean, integer and real values, when the top object is a
// dictionary; its other values (containers among them) are left out. Nothing when the table cannot be
// read, the top object is no dictionary, or its texts exceed the limits.
std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits);

} // namespace orvel::BinaryPropertyList
