// The quick project reading must give what the strict decoding gives, and leave to it whatever it does
// not take, so that every file decodes, or fails, as before.

#include <gtest/gtest.h>

#include <string>

#include "core/OrvelProtocol.h"
#include "engine/apps/ProjectReader.h"

namespace orvel {
namespace {

std::optional<TranslationProject> strictlyDecoded(const std::string& text) {
    try {
        return OrvelProtocol::decode<TranslationProject>(text);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

std::string project(const std::string& members) {
    return R"({"app":"com.example.Notes","language":"de")" + members + "}";
}

std::string withTranslation(const std::string& members) {
    return project(R"(,"translations":{"Main\u001fOpen":{)" + members + "}}");
}

const std::string translationMembers =
    R"("origin":"model","model":"m","source":"Open","text":"Öffnen","updated":"2025-03-01T14:05:09.120Z")";

TEST(ProjectReader, ReadsLikeTheStrictDecoding) {
    const struct {
        const char* what;
        std::string text;
        bool decodes;
        bool quick;
    } rows[] = {
        {"the required keys alone", project(""), true, true},
        {"every key",
         project(R"(,"appVersion":"1.2 b57","style":{"terms":"translateAll","address":"formal"},)"
                 R"("terms":{"File":"Datei"},"sourceText":{"Main\u001fOpen":"Open"},)"
                 R"("retired":{"Old\u001fGone":{"origin":"person","source":"Gone","text":"Weg",)"
                 R"("updated":"2025-03-01T14:05:09Z"}},"translations":{"Main\u001fOpen":{)" +
                 translationMembers + R"(,"plural":{"one":"%lld Datei","other":"%lld Dateien"}}})"),
         true, true},
        {"nulls for the optional keys",
         project(R"(,"translations":null,"style":null,"terms":null,"sourceText":null,"appVersion":null,)"
                 R"("retired":null)"),
         true, true},
        {"nulls inside a translation",
         withTranslation(R"("origin":"model","source":"Open","updated":"2025-03-01T14:05:09Z",)"
                         R"("text":null,"plural":null,"model":null)"),
         true, true},
        {"a later duplicate key wins",
         project(R"(,"language":"fr","terms":{"a":"b"},"terms":{"c":"d"},"sourceText":{"x":"y"},)"
                 R"("sourceText":null)"),
         true, true},
        {"a later duplicate id wins",
         project(R"(,"translations":{"k":{)" + translationMembers + R"(},"k":{)" + translationMembers +
                 R"(,"text":"Auf"}})"),
         true, true},
        {"a date with an offset", withTranslation(R"("origin":"model","source":"Open",)"
                                                  R"("updated":"2025-03-01T14:05:09+02:00")"),
         true, true},
        {"keys nobody reads", project(R"(,"future":[1,{"x":null},true,2.5],"note":"n")"), true, true},
        {"a byte-order mark at the start", "\xEF\xBB\xBF" + project(""), true, true},
        {"escapes", project(R"(,"terms":{"a\u00e9\ud83d\ude00\/\n":"\u0000"})"), true, true},
        {"a huge number nobody reads", project(R"(,"future":123456789012345678901234567890)"), true, false},
        {"nesting deeper than a project", project(R"(,"future":)" + std::string(100, '[') +
                                                  std::string(100, ']')),
         true, false},
        {"no app", R"({"language":"de"})", false, false},
        {"an app that ends null", project(R"(,"app":null)"), false, false},
        {"a language of the wrong type", R"({"app":"a","language":1})", false, false},
        {"an origin nobody knows", withTranslation(R"("origin":"robot","source":"Open",)"
                                                   R"("updated":"2025-03-01T14:05:09Z")"),
         false, false},
        {"no source", withTranslation(R"("origin":"model","updated":"2025-03-01T14:05:09Z")"), false, false},
        {"an update time that is no date",
         withTranslation(R"("origin":"model","source":"Open","updated":"yesterday")"), false, false},
        {"a text of the wrong type",
         withTranslation(R"("origin":"model","source":"Open","updated":"2025-03-01T14:05:09Z","text":1)"),
         false, false},
        {"a style without its address", project(R"(,"style":{"terms":"keepCommon"})"), false, false},
        {"a style nobody knows", project(R"(,"style":{"terms":"all","address":"formal"})"), false, false},
        {"a term of the wrong type", project(R"(,"terms":{"File":["Datei"]})"), false, false},
        {"a list for the translations", project(R"(,"translations":[])"), false, false},
        {"invalid UTF-8", project(",\"appVersion\":\"\xFF\""), false, false},
        {"a list for the project", R"(["app","language"])", false, false},
        {"cut short", R"({"app":"a","language":"de","terms":{)", false, false},
        {"text after the project", project("") + " x", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::optional<TranslationProject> strict = strictlyDecoded(row.text);
        const std::optional<TranslationProject> quick = ProjectReader::quickDecode(row.text);
        EXPECT_EQ(strict.has_value(), row.decodes);
        EXPECT_EQ(quick.has_value(), row.quick);
        if (quick && strict) {
            EXPECT_EQ(quick->encoded(), strict->encoded());
        }
    }
}

} // namespace
} // namespace orvel
