#include "engine/reference/MozillaStrings.h"

#include "core/Unicode.h"

namespace orvel::SoftwareFormats {

KeyedTexts mozillaStrings(std::string_view bytes, std::string_view path) {
    const std::string text = text::decodeUtf8Lossy(bytes);
    if (path.ends_with(".dtd"))
        return dtdStrings(text);
    if (path.ends_with(".properties"))
        return propertiesStrings(text);
    if (path.ends_with(".ftl"))
        return fluentStrings(text);
    return {};
}

} // namespace orvel::SoftwareFormats
