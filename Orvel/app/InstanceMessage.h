#pragma once
// The message a later start sends the running instance (SingleInstance): its links as UTF-8 lines, each
// ended by a line feed, then an empty line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::InstanceMessage {

inline constexpr std::size_t maximumBytes = 64 * 1024;

// The message of `links`. A line feed inside a link cuts it into lines; empty lines are left out, so
// that none of them can end the message early.
std::string of(const std::vector<std::string>& links);

enum class State { incomplete, complete, tooLarge };

// Whether the bytes received so far hold a whole message, or more than any message may hold.
State state(std::string_view received);

// The links of a complete message, in order.
std::vector<std::string> links(std::string_view message);

} // namespace orvel::InstanceMessage
