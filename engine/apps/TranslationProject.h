#pragma once
// All translations of one app into one language, with the chosen style and key terms.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Json.h"
#include "core/PrettyJsonWriter.h"
#include "core/SourceString.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslatableApp.h"
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
    // The file's text: what OrvelProtocol::encode gives for toJson, written without building the tree.
    std::string encoded() const;
    // The same text written into `writer`.
    void encode(PrettyJsonWriter& writer) const;

    // Records the English of every string to translate (the first of equal ids wins) and the app version
    // it belongs to, the base against which the next app update is compared.
    void recordSource(const std::vector<SourceString>& strings, const std::optional<std::string>& version);
    // The same for the strings an update leaves translated, and those recorded before. A string that has
    // no translation and was never recorded (nothing is, in a project rebuilt from its overlay) stays out
    // of the record, so that the next update still finds it added instead of taking it for one left
    // untranslated on purpose.
    void recordTranslatedSource(const std::vector<SourceString>& strings,
                                const std::optional<std::string>& version);

    // The app's project folder plus "<language>.json".
    static std::filesystem::path fileURL(const TranslatableApp& app, const std::string& language);

    // The stored project, or, when its file cannot be read or decoded, the one rebuilt from the
    // language's overlay. A language code that cannot name a file gives the empty project. Never fails.
    static TranslationProject load(const TranslatableApp& app, const std::string& language);

    // Replaces the file of the project's own language atomically, creating the project folder. A file
    // there that does not decode is first kept once as "<language>.json.broken" beside it, and one that
    // cannot be read is moved there (keepUndecodableFile); a file still as this process last wrote it is
    // known to decode and is not read again. Throws UnsafeNameError for a language code that cannot name
    // a file, UnkeptFileError, and encoding or file errors; the previous file stays intact on failure.
    void save(const TranslatableApp& app) const;
};

} // namespace orvel
