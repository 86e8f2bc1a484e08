#pragma once
// The text of a count shown in the interface (badges, checklist, footer). It is shown verbatim and
// never used as a localization key.

#include <QString>

#include <cstdint>

namespace orvel {

// Plain decimal up to four digits; from five digits on, groups of three from the right joined by
// U+202F NARROW NO-BREAK SPACE. A negative count gets a leading hyphen-minus.
QString formatCount(std::int64_t count);

} // namespace orvel
