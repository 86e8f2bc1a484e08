#pragma once
// Links of the form orvel://translate?app=<bundle identifier>&language=<code>, which other programs and
// web pages use to open an app (and a language) in Orvel. They arrive from outside, so the parser is
// strict: anything it does not recognise is ignored.

#include <optional>
#include <string>
#include <string_view>

namespace orvel {

struct DeepLink {
    // The bundle identifier of the app to open, as written.
    std::string app;
    // The requested language code, as written; nothing when the link names none.
    std::optional<std::string> language;

    bool operator==(const DeepLink&) const = default;
};

// The link that `url` asks for, or nothing when it is not one of ours. Scheme and host are compared
// exactly, in the letter case written ("ORVEL://" and "//Translate" are not ours). The first "app" and
// the first "language" item count; an item without a value, or with an empty one, counts as absent.
// Names and values are percent-decoded ("+" stays a plus sign); a malformed escape, text that is not
// UTF-8, white space or control characters (written or escaped) make the whole link invalid.
std::optional<DeepLink> parseDeepLink(std::string_view url);

} // namespace orvel
