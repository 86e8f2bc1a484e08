#pragma once
// The one date type of the system: a point in UTC time with millisecond precision.
//
// Every date kept in a JSON file of a target app's data folder, or exchanged with the companion, is
// ISO 8601 internet date-time text written with milliseconds and "Z" (2025-03-01T14:05:09.120Z).
// Reading also accepts the form without fractional seconds and any "+hh:mm"/"-hh:mm" offset.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/Json.h"

namespace orvel {

using Date = std::chrono::sys_time<std::chrono::milliseconds>;

namespace Dates {

// The current time, cut to milliseconds.
Date now();

// "2025-03-01T14:05:09.120Z".
std::string iso8601(Date date);

// Parses the internet date-time form, with or without fractional seconds; nothing for any other text.
// Digits beyond milliseconds are dropped.
std::optional<Date> parseIso8601(std::string_view text);

} // namespace Dates

namespace json {

template <> struct Coder<Date> {
    // A non-text value is a type mismatch; text in neither accepted form fails with
    // "Not an ISO 8601 date: " followed by the text.
    static Date decode(const Json& value);
    static Json encode(Date value) { return Dates::iso8601(value); }
};

} // namespace json
} // namespace orvel
