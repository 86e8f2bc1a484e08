#include <gtest/gtest.h>

#include "engine/reference/BodyText.h"
#include "engine/reference/KeptCopies.h"

using namespace orvel;

TEST(BodyText, ByteOrderMarksChooseTheEncodingAndAreDropped) {
    EXPECT_EQ(BodyText::decoded("\xEF\xBB\xBF"
                                "Datei"),
              "Datei");
    EXPECT_EQ(BodyText::decoded(std::string("\xFF\xFE"
                                            "D\0\xE4\0t\0",
                                            8)),
              "D\xC3\xA4t");
    EXPECT_EQ(BodyText::decoded(std::string("\xFE\xFF\0D\0\xE4\0t", 8)), "D\xC3\xA4t");
    // A mark inside the text is text.
    EXPECT_EQ(BodyText::decoded("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF");
    EXPECT_EQ(BodyText::decoded(""), "");
}

TEST(BodyText, DamageBecomesReplacementCharactersAndTheRestSurvives) {
    EXPECT_EQ(BodyText::decoded("Ouvrir \xC3 le \xFF"
                                "fichier"),
              "Ouvrir \xEF\xBF\xBD le \xEF\xBF\xBD"
              "fichier");
    // An unpaired surrogate and a last odd byte.
    EXPECT_EQ(BodyText::decoded(std::string("\xFF\xFE"
                                            "a\0\x00\xD8"
                                            "b\0c",
                                            9)),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(KeptCopies, NamesAreTheDigestAndTheStartOfTheLastComponent) {
    EXPECT_EQ(KeptCopies::fileName("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad-abc");
    const std::string chromium =
        "https://source.example/chromium/+/70.0.3538.124/chrome/app/strings.grd?format=TEXT";
    EXPECT_TRUE(KeptCopies::fileName(chromium).ends_with("-strings.grd?format=TEXT"));
    EXPECT_EQ(KeptCopies::fileName(chromium).size(), 64u + 1 + 23);
    EXPECT_EQ(KeptCopies::lastComponent("https://h/a/folder//"), "folder");
    const std::string longName(70, 'x');
    EXPECT_EQ(KeptCopies::fileName("https://h/" + longName).substr(65), std::string(60, 'x'));
    // Characters, not bytes: "é" written as e and a combining accent stays whole.
    const std::string accented = std::string(59, 'a') + "e\xCC\x81" + "tail";
    EXPECT_TRUE(KeptCopies::fileName("https://h/" + accented).ends_with("e\xCC\x81"));
    EXPECT_NE(KeptCopies::fileName("https://h/a/x.po"), KeptCopies::fileName("https://h/b/x.po"));
}
