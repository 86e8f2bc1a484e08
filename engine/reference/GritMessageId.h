#pragma once
// The numeric ids under which Chromium's translation files name a message: derived from the message's
// text and meaning, since the GRD file does not write them.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvel::SoftwareFormats {

// The first 8 bytes of the MD5 digest of the text's UTF-8, read big-endian.
std::uint64_t fingerprint(std::string_view text);

// The id as decimal text: the fingerprint of `idText`, combined with the meaning's when there is one,
// with the top bit cleared.
std::string messageID(std::string_view idText, std::string_view meaning);

} // namespace orvel::SoftwareFormats
