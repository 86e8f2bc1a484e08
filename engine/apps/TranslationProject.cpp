#include "engine/apps/TranslationProject.h"

#include <algorithm>

namespace orvel {
namespace {

using Translations = std::map<std::string, StringTranslation>;
using TextMap = std::map<std::string, std::string>;

void writeTranslations(PrettyJsonWriter& writer, const Translations& translations) {
    writer.beginObject();
    for (const auto& [id, translation] : translations) {
        writer.key(id);
        translation.write(writer);
    }
    writer.endObject();
}

// A string to record: its id and its English.
struct Recorded {
    std::string id;
    const std::string* text;
};

// The strings to translate in id order, equal ids in the order they come: a record is built from them
// in one pass, each entry put after the last, instead of being looked up among tens of thousands.
std::vector<Recorded> sortedToTranslate(const std::vector<SourceString>& strings) {
    std::vector<Recorded> sorted;
    sorted.reserve(strings.size());
    for (const SourceString& string : strings)
        if (string.translate)
            sorted.push_back({string.id(), &string.text});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Recorded& a, const Recorded& b) { return a.id < b.id; });
    return sorted;
}

// The first of equal ids wins.
TextMap recordedFrom(std::vector<Recorded> sorted) {
    TextMap recorded;
    for (Recorded& string : sorted)
        recorded.emplace_hint(recorded.end(), std::move(string.id), *string.text);
    return recorded;
}

} // namespace

TranslationProject TranslationProject::fromJson(const json::Json& value) {
    TranslationProject project;
    project.app = json::required<std::string>(value, "app");
    project.language = json::required<std::string>(value, "language");
    project.translations = json::optional<Translations>(value, "translations").value_or(Translations{});
    project.style = json::optional<TranslationStyle>(value, "style").value_or(TranslationStyle{});
    project.terms = json::optional<TextMap>(value, "terms").value_or(TextMap{});
    project.sourceText = json::optional<TextMap>(value, "sourceText");
    project.appVersion = json::optional<std::string>(value, "appVersion");
    project.retired = json::optional<Translations>(value, "retired").value_or(Translations{});
    return project;
}

json::Json TranslationProject::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "app", app);
    json::set(out, "language", language);
    json::set(out, "translations", translations);
    json::set(out, "style", style);
    json::set(out, "terms", terms);
    json::set(out, "sourceText", sourceText);
    json::set(out, "appVersion", appVersion);
    json::set(out, "retired", retired);
    return out;
}

std::string TranslationProject::encoded() const {
    PrettyJsonWriter writer;
    encode(writer);
    return writer.take();
}

void TranslationProject::encode(PrettyJsonWriter& writer) const {
    // The keys in the order the tree keeps them.
    writer.beginObject();
    writer.member("app", app);
    writer.memberIfPresent("appVersion", appVersion);
    writer.member("language", language);
    writer.key("retired");
    writeTranslations(writer, retired);
    if (sourceText) {
        writer.key("sourceText");
        writer.textMap(*sourceText);
    }
    writer.key("style");
    writer.value(style.toJson());
    writer.key("terms");
    writer.textMap(terms);
    writer.key("translations");
    writeTranslations(writer, translations);
    writer.endObject();
}

void TranslationProject::recordSource(const std::vector<SourceString>& strings,
                                      const std::optional<std::string>& version) {
    sourceText = recordedFrom(sortedToTranslate(strings));
    appVersion = version;
}

void TranslationProject::recordTranslatedSource(const std::vector<SourceString>& strings,
                                                const std::optional<std::string>& version) {
    std::vector<Recorded> sorted = sortedToTranslate(strings);
    // Walked beside the translations and the English recorded before, which are in the same order.
    auto translation = translations.cbegin();
    const auto translated = [&](const std::string& id) {
        while (translation != translations.cend() && translation->first < id)
            ++translation;
        return translation != translations.cend() && translation->first == id && !translation->second.isEmpty();
    };
    std::optional<TextMap::const_iterator> before;
    if (sourceText)
        before = sourceText->cbegin();
    const auto recordedBefore = [&](const std::string& id) {
        if (!before)
            return false;
        while (*before != sourceText->cend() && (*before)->first < id)
            ++*before;
        return *before != sourceText->cend() && (*before)->first == id;
    };
    std::size_t kept = 0;
    for (std::size_t next = 0; next < sorted.size(); ++next) {
        if (!translated(sorted[next].id) && !recordedBefore(sorted[next].id))
            continue;
        if (kept != next)
            sorted[kept] = std::move(sorted[next]);
        ++kept;
    }
    sorted.resize(kept);
    sourceText = recordedFrom(std::move(sorted));
    appVersion = version;
}

} // namespace orvel
