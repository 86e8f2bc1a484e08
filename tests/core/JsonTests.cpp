#include <gtest/gtest.h>

#include "core/Json.h"

using namespace orvel::json;

namespace {

struct Sample {
    std::string name;
    int count = 0;
    std::optional<std::string> note;
    std::optional<std::vector<int>> sizes;

    static Sample fromJson(const Json& j) {
        return {required<std::string>(j, "name"), required<int>(j, "count"), optional<std::string>(j, "note"),
                optional<std::vector<int>>(j, "sizes")};
    }
    Json toJson() const {
        Json j = Json::object();
        set(j, "name", name);
        set(j, "count", count);
        set(j, "note", note);
        set(j, "sizes", sizes);
        return j;
    }
};

Sample decodeSample(const std::string& text) {
    return decode<Sample>(parse(text));
}

} // namespace

TEST(StrictJson, RequiredKeysMustBePresentAndNotNull) {
    EXPECT_THROW(decodeSample(R"({"count": 1})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": null, "count": 1})"), DecodingError);
    auto s = decodeSample(R"({"name": "a", "count": 1, "note": null, "extra": [1, 2]})");
    EXPECT_EQ(s.name, "a");
    EXPECT_FALSE(s.note);
    EXPECT_FALSE(s.sizes);
}

TEST(StrictJson, WrongTypesFail) {
    EXPECT_THROW(decodeSample(R"({"name": 5, "count": 1})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": "a", "count": "1"})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": "a", "count": true})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": "a", "count": 1.5})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": "a", "count": 3000000000})"), DecodingError);
    EXPECT_THROW(decodeSample(R"({"name": "a", "count": 1, "note": 3})"), DecodingError);
    EXPECT_THROW(decodeSample(R"(["name"])"), DecodingError);
    EXPECT_EQ(decodeSample(R"({"name": "a", "count": 2.0})").count, 2);
}

TEST(StrictJson, ErrorsNameThePathOfTheBadValue) {
    try {
        decodeSample(R"({"name": "a", "count": 1, "sizes": [1, "x"]})");
        FAIL() << "expected a decoding error";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.codingPath(), "sizes[1]");
    }
}

TEST(StrictJson, MalformedTextFails) {
    EXPECT_THROW(parse("{"), DecodingError);
    EXPECT_THROW(parse("{\"a\": \"\xFF\"}"), DecodingError);
}

TEST(StrictJson, NestingBeyondTheCapFailsBeforeAnyValueIsBuilt) {
    const auto arrays = [](int depth, std::string_view inner = "") {
        return std::string(static_cast<std::size_t>(depth), '[') + std::string(inner) +
               std::string(static_cast<std::size_t>(depth), ']');
    };
    struct Row {
        const char* name;
        std::string text;
        bool parses;
    };
    const std::vector<Row> rows = {
        {"at the cap", arrays(maximumNesting), true},
        {"one level more", arrays(maximumNesting + 1), false},
        {"objects count too", "{\"a\": " + arrays(maximumNesting) + "}", false},
        {"far deeper", arrays(100'000), false},
        {"brackets inside texts do not count", arrays(2, "\"" + std::string(1000, '[') + "\""), true},
        {"an escaped quote does not end a text", arrays(1, "\"\\\"" + std::string(1000, '{') + "\""), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.parses)
            EXPECT_NO_THROW(parseWithinNesting(row.text));
        else
            EXPECT_THROW(parseWithinNesting(row.text), DecodingError);
    }
}

TEST(StrictJson, EncodingLeavesAbsentOptionalsOutAndSurvivesInvalidUtf8) {
    Sample s{"a/b", 1, std::nullopt, std::vector<int>{1}};
    const std::string text = dump(encode(s));
    EXPECT_EQ(text, R"({"count":1,"name":"a/b","sizes":[1]})");
    Sample broken{"bad\xFFtext", 1, std::nullopt, std::nullopt};
    EXPECT_EQ(dump(encode(broken)), "{\"count\":1,\"name\":\"bad\xEF\xBF\xBDtext\"}");
}
