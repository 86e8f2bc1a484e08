#include "engine/apps/TranslationProject.h"

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
    TextMap recorded;
    for (const auto& string : strings)
        if (string.translate)
            recorded.emplace(string.id(), string.text);
    sourceText = std::move(recorded);
    appVersion = version;
}

} // namespace orvel
