#pragma once
// A flat scan of an XML property list's tags, so that a file can be measured before the platform's
// parser, which recurses into every element when it builds and when it frees the tree, is given it.

#include <optional>
#include <string_view>

#include "core/Json.h"
#include "core/PropertyListLimits.h"

namespace orvel::XmlPropertyListScan {

// The nesting of elements below the root value and their number against the limits; `malformed`
// when the tags do not pair up.
PropertyListShape measure(std::string_view bytes, const PropertyListLimits& limits);

// The root dictionary's keys with their string, Boolean, integer and real values; other values
// (containers among them) are skipped without being read. Nothing when the root is no dictionary or
// the tags do not hold together.
std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits);

} // namespace orvel::XmlPropertyListScan
