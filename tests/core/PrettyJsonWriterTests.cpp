#include <gtest/gtest.h>

#include "core/Json.h"
#include "core/PrettyJsonWriter.h"

namespace orvel {
namespace {

// Writes a tree through the writer as a caller writes its own data: objects member by member, texts as
// texts, everything else as a small tree.
void writeTree(PrettyJsonWriter& writer, const json::Json& value) {
    if (value.is_object()) {
        writer.beginObject();
        for (const auto& [name, member] : value.items()) {
            writer.key(name);
            writeTree(writer, member);
        }
        writer.endObject();
    } else if (value.is_string()) {
        writer.string(value.get_ref<const std::string&>());
    } else {
        writer.value(value);
    }
}

json::Json object(std::initializer_list<std::pair<std::string, json::Json>> members) {
    json::Json out = json::Json::object();
    for (const auto& [name, member] : members)
        out[name] = member;
    return out;
}

// Every byte the encoder escapes, NUL included, with DEL and plain text between them.
std::string everyEscapedByte() {
    std::string text;
    for (char c = 0; c < 0x20; ++c)
        text += std::string(1, c) + "a";
    return text + "\"\\\x7f/";
}

TEST(PrettyJsonWriter, WritesTheSharedEncodersBytes) {
    const struct {
        const char* what;
        json::Json tree;
    } rows[] = {
        {"an empty object", json::Json::object()},
        {"one text", object({{"a", "b"}})},
        {"nested and empty objects",
         object({{"a", object({{"b", json::Json::object()}})}, {"c", object({{"d", "e"}})}})},
        {"quotes, backslashes and slashes", object({{"qu\"ote", "back\\slash"}, {"path", "a/b"}})},
        {"named control characters", object({{"tab\t", "line\nbreak\r\f\b"}})},
        {"every escaped byte", object({{everyEscapedByte(), everyEscapedByte()}})},
        {"non-ASCII text", object({{"Öffnen", "日本語"}, {"emoji", "😀 ok"}})},
        {"a lone continuation byte", object({{"k", "ab\x80"}})},
        {"a byte that never starts UTF-8", object({{"k", "\xff"}})},
        {"a sequence cut at the end", object({{"k", "ab\xe2\x82"}})},
        {"an overlong form", object({{"k", "\xc0\xaf"}})},
        {"an encoded surrogate", object({{"k", "\xed\xa0\x80x"}})},
        {"a code point beyond U+10FFFF", object({{"k", "\xf4\x90\x80\x80"}})},
        {"invalid bytes between valid ones", object({{"k", "\xe2\x82\xac\xff\xe2\x82\xac"}})},
        {"an invalid key", object({{"\xfe"
                                    "key",
                                    "v"}})},
        {"other values as trees at depth",
         object(
             {{"outer", object({{"list", json::Json::array({1, "x", object({{"k", json::Json::array()}})})},
                                {"number", 1.5},
                                {"none", nullptr},
                                {"flag", true},
                                {"inner", object({{"n", json::Json::array({1, 2})}})}})}})},
    };
    for (const auto& row : rows) {
        PrettyJsonWriter writer;
        writeTree(writer, row.tree);
        const std::string whole = writer.take();
        EXPECT_EQ(whole, json::dump(row.tree, 2)) << row.what;
        // Handed over in pieces of any size, the text is the same, byte for byte.
        for (const std::size_t pieceSize : {std::size_t{1}, std::size_t{3}, std::size_t{17}}) {
            std::string pieced;
            std::size_t pieces = 0;
            PrettyJsonWriter piecewise(
                [&](std::string_view piece) {
                    pieced += piece;
                    ++pieces;
                },
                pieceSize);
            writeTree(piecewise, row.tree);
            piecewise.finish();
            EXPECT_EQ(pieced, whole) << row.what << " in pieces of " << pieceSize;
            // A text of more than two pieces' worth is never handed over only at the end.
            if (whole.size() > 2 * pieceSize) {
                EXPECT_GE(pieces, 2u) << row.what << " in pieces of " << pieceSize;
            }
        }
    }
}

} // namespace
} // namespace orvel
