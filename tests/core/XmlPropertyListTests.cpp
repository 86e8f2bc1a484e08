#include <gtest/gtest.h>

#include "core/PropertyList.h"
#include "core/XmlPropertyList.h"

using namespace orvel;

TEST(XmlPropertyList, ParsesBackToTheSameValue) {
    const json::Json value = {
        {"text", "a & b < c > d \"q\" 'a' ]]>"},
        {"empty", ""},
        {"nested", {{"list", {1, -2, true, false, 2.5, "x"}}, {"none", json::Json::object()}}},
        {"noItems", json::Json::array()},
        {"ünïcødé 😀", "\u00A0\t\n"}};
    const auto xml = XmlPropertyList::serialize(value);
    EXPECT_EQ(PropertyList::parse(xml), value) << xml;
}

TEST(XmlPropertyList, WritesOnlyCharactersXmlAllows) {
    const json::Json value = {{"k\x01", std::string("cr\r nul\0 bell\a del\x7F \xEF\xBF\xBE bad\xC3", 28)}};
    const auto xml = XmlPropertyList::serialize(value);
    EXPECT_NE(xml.find("cr&#13; "), std::string::npos);
    for (const char c : xml)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') << static_cast<int>(c);
    EXPECT_EQ(PropertyList::parse(xml),
              (json::Json{{"k\uFFFD", "cr\r nul\uFFFD bell\uFFFD del\x7F \uFFFD bad\uFFFD"}}));
}

TEST(XmlPropertyList, ValuesWithoutAPropertyListFormThrow) {
    EXPECT_THROW(XmlPropertyList::serialize(json::Json{{"k", nullptr}}), XmlPropertyList::SerializationError);
    EXPECT_THROW(XmlPropertyList::serialize(json::Json::array({1, nullptr})),
                 XmlPropertyList::SerializationError);
}
