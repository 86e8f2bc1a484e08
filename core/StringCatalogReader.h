#pragma once
// The quick reading of catalog JSON. Catalogs of large apps run to tens of megabytes, and a
// general-purpose JSON tree costs several times the parse itself, so catalogs are decoded straight from
// a SIMD parser's document into the records.
//
// The quick reading accepts a subset of what the strict decoding of StringCatalog::fromJson accepts and
// gives the same records for it. Whatever it does not take (any malformed or unusual input: a wrong
// type, a missing value, a number written with a fraction, a byte-order mark handled elsewhere) it
// leaves to the strict decoding, which then gives the result or the error the caller sees.

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/StringCatalog.h"

namespace orvel::StringCatalogReader {

// The decoded catalog, or nothing when the quick reading does not take the text. A localization the
// reading does not keep is checked as strictly as a kept one. `readableAfter` bytes after the text may be
// read.
std::optional<StringCatalog> quickDecode(std::string_view text,
                                         StringCatalog::Languages languages = StringCatalog::Languages::all,
                                         std::size_t readableAfter = 0);

} // namespace orvel::StringCatalogReader
