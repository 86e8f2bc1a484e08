#include <gtest/gtest.h>

#include "core/FileIO.h"
#include "engine/reference/Accelerators.h"
#include "engine/reference/GritMessageId.h"
#include "engine/reference/GritMessages.h"

using namespace orvel;
using namespace orvel::SoftwareFormats;

namespace {

std::map<std::string, GritMessage, std::less<>> messages(const std::string& body) {
    return gritMessages(*tree("<grit><release><messages>" + body + "</messages></release></grit>"));
}

std::string fixture(const std::string& name) {
    return FileIO::read(std::string(ORVEL_TEST_FIXTURES) + "/reference/chromium/" + name);
}

} // namespace

TEST(GritMessageId, FingerprintAndIdsWithAndWithoutMeaning) {
    EXPECT_EQ(fingerprint("OK"), 16188754138977131478ULL);
    EXPECT_EQ(messageID("OK", ""), "6965382102122355670");
    // The meaning's fingerprint is added to the rotated text fingerprint, wrapping on overflow.
    EXPECT_EQ(messageID("OK", "button"), "1127207017982592613");
    EXPECT_EQ(messageID("Close", "verb"), "6681277101414077952");
    EXPECT_EQ(messageID("", ""), std::to_string(fingerprint("") & 0x7FFFFFFFFFFFFFFFULL));
}

TEST(GritMessages, PlaceholdersAreNamesInTheIdAndBracedInTheText) {
    const auto read = messages(
        R"(<message name="IDS_A" desc="d">Open <ph name="file">$1<ex>a.txt</ex></ph> now</message>)");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.begin()->first, messageID("Open FILE now", ""));
    EXPECT_EQ(read.begin()->second, (GritMessage{"IDS_A", "Open {FILE} now"}));
}

TEST(GritMessages, TripleApostrophesProtectOuterWhiteSpaceOnlyOnce) {
    const auto read = messages("<message name=\"IDS_P\">\n  '''  Leading spaces'''\n</message>");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.begin()->first, messageID("Leading spaces", ""));
    EXPECT_EQ(read.begin()->second.text, "Leading spaces");
}

TEST(GritMessages, SkippedNamedAndNestedMessages) {
    const auto read = messages(R"(
        <message name="IDS_OFF" translateable="false">Off</message>
        <message>No name</message>
        <message name="IDS_BY_NAME" use_name_for_id="true">By name</message>
        <if expr="is_macosx"><part><message name="IDS_DEEP">Deep <b>bold</b></message></part></if>
        <message name="IDS_NO_PH_NAME">A <ph>x</ph>B</message>)");
    EXPECT_EQ(read.size(), 3u);
    EXPECT_EQ(read.at("IDS_BY_NAME").text, "By name");
    EXPECT_EQ(read.at(messageID("Deep bold", "")).name, "IDS_DEEP");
    // A placeholder without a name adds nothing to the id text and "{}" to the display text.
    EXPECT_EQ(read.at(messageID("A B", "")).text, "A {}B");
}

TEST(GritMessages, MeaningSeparatesEqualTextsAndEqualIdsReplace) {
    const auto read = messages(R"(
        <message name="IDS_OK_1">OK</message>
        <message name="IDS_OK_BUTTON" meaning="button">OK</message>
        <message name="IDS_OK_2">OK</message>)");
    EXPECT_EQ(read.size(), 2u);
    EXPECT_EQ(read.at("6965382102122355670").name, "IDS_OK_2");
    EXPECT_EQ(read.at("1127207017982592613").name, "IDS_OK_BUTTON");
}

TEST(XtbTranslations, TranslationsAtAnyDepthWithPlaceholders) {
    const auto read = xtbTranslations(R"(<translationbundle lang="de">
        <translation id="123">Hello <ph name="USER"/>!</translation>
        <group><translation id="9">  '''x'''  </translation></group>
        <translation id="7"></translation>
        <translation>no id</translation>
        <translation id="9">later</translation>
        </translationbundle>)");
    EXPECT_EQ(read, (std::map<std::string, std::string, std::less<>>{
                        {"123", "Hello {USER}!"}, {"7", ""}, {"9", "later"}}));
    EXPECT_THROW(xtbTranslations("<translationbundle><translation id='1'>x</translationbundle>"), XmlError);
}

TEST(GritMessages, ResourceFileJoinsItsTranslationsByComputedId) {
    const auto grd = tree(fixture("sample_strings.grd"));
    const auto files = elements("file", grd->elements());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(*files[0]->attribute("lang"), "de");
    const auto translations = xtbTranslations(fixture("sample_strings_de.xtb"));
    std::map<std::string, std::string> pairs;
    for (const auto& [id, message] : gritMessages(*grd))
        if (const auto found = translations.find(id); found != translations.end())
            pairs[message.name] =
                strippingAmpersands(message.text) + " => " + strippingAmpersands(found->second);
    const std::map<std::string, std::string> expected{
        {"IDS_OPEN", "Open {FILE} now => {FILE} jetzt öffnen"},
        {"IDS_PRINT", "Print… => Drucken…"},
        {"IDS_CLOSE", "Close => Schließen"},
        {"IDS_PADDED", "Leading spaces => Führende Leerzeichen"},
        {"IDS_NAMED", "By name => Nach Name"}};
    EXPECT_EQ(pairs, expected);
}
