#pragma once
// All translations of one app into one language, with the chosen style and key terms.

#include <map>
#include <optional>
#include <string>

#include "core/Json.h"
#include "engine/apps/StringTranslation.h"
#include "engine/model/TranslationStyle.h"

namespace orvel {

struct TranslationProject {
    // The bundle identifier of the app.
    std::string app;
    // The target language code.
    std::string language;
    // String id to its current translation.
    std::map<std::string, StringTranslation> translations;
    TranslationStyle style;
    // English key term to the word chosen for it.
    std::map<std::string, std::string> terms;
    // The English of every string id when it was last recorded.
    std::optional<std::map<std::string, std::string>> sourceText;
    // The app version at that recording.
    std::optional<std::string> appVersion;
    // Translations of strings the app no longer has, under their old ids.
    std::map<std::string, StringTranslation> retired;

    // Only "app" and "language" are required; every other key may be absent (or null) and then takes
    // its empty or default value. A key that is present is decoded strictly.
    static TranslationProject fromJson(const json::Json& value);
    json::Json toJson() const;
};

} // namespace orvel
