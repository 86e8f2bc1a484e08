#pragma once
// The text of a downloaded translation file, whatever state its bytes are in.

#include <string>
#include <string_view>

namespace orvel::BodyText {

// UTF-8 text of `bytes`: UTF-16 in the byte order of its mark when the bytes begin with FF FE or FE FF,
// else UTF-8 without a leading U+FEFF. Ill-formed sequences (and a last odd byte of UTF-16) become
// U+FFFD, so one damaged spot never costs the rest of the file. Never fails.
std::string decoded(std::string_view bytes);

} // namespace orvel::BodyText
