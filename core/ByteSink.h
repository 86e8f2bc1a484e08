#pragma once
// Bytes handed over piece by piece as they are made, so that a large text never has to be held whole.

#include <functional>
#include <string_view>

namespace orvel {

// Takes the next piece; the piece is only valid during the call.
using ByteSink = std::function<void(std::string_view piece)>;
// Makes all of its bytes into the sink it is given, in order.
using ByteProducer = std::function<void(const ByteSink& write)>;

} // namespace orvel
