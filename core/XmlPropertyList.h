#pragma once
// Writing XML property lists (version 1.0). The output is always well-formed XML: characters that
// XML 1.0 cannot carry are replaced, so that every property-list parser accepts the file whole.

#include <stdexcept>
#include <string>

#include "core/Json.h"

namespace orvel::XmlPropertyList {

// A value that has no property-list form (null, or a real that is not finite).
class SerializationError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Objects become dictionaries (keys in ascending byte order), arrays arrays, strings strings,
// Booleans, integers and reals keep their types. In texts, a carriage return is written as a character
// reference, and ill-formed UTF-8 and characters forbidden in XML 1.0 become U+FFFD.
// Throws SerializationError.
std::string serialize(const json::Json& value);

} // namespace orvel::XmlPropertyList
