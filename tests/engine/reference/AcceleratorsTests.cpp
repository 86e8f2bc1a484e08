#include <gtest/gtest.h>

#include "engine/reference/Accelerators.h"

using namespace orvel::SoftwareFormats;

TEST(Accelerators, AmpersandMarks) {
    EXPECT_EQ(strippingAmpersands("&File"), "File");
    EXPECT_EQ(strippingAmpersands("Save && Quit"), "Save & Quit");
    EXPECT_EQ(strippingAmpersands("Tom & Jerry"), "Tom & Jerry");
    EXPECT_EQ(strippingAmpersands("R&D"), "RD");
    EXPECT_EQ(strippingAmpersands("&amp;"), "amp;");
    EXPECT_EQ(strippingAmpersands("a&;b end&"), "a&;b end&");
    EXPECT_EQ(strippingAmpersands("&&&x"), "&x");
    EXPECT_EQ(strippingAmpersands("&\u00e9t\u00e9"), "\u00e9t\u00e9");
}

TEST(Accelerators, ParenthesisedMarksGoWithTheWhiteSpaceBeforeThem) {
    EXPECT_EQ(strippingAmpersands("ファイル (&F)"), "ファイル");
    EXPECT_EQ(strippingAmpersands("Open\u3000(&O)..."), "Open...");
    EXPECT_EQ(strippingAmpersands("a (&1) b (_x)(~Y)"), "a b");
    EXPECT_EQ(strippingAmpersands("keep (&Fx) (&) (F)"), "keep (Fx) () (F)");
    EXPECT_EQ(strippingAccelerators("Datei  \t(~D)"), "Datei");
    EXPECT_EQ(strippingAccelerators("((_a)"), "(");
}

TEST(Accelerators, TildeAndUnderscoreMarks) {
    EXPECT_EQ(strippingAccelerators("~Save"), "Save");
    EXPECT_EQ(strippingAccelerators("_Open"), "Open");
    EXPECT_EQ(strippingAccelerators("file_name"), "filename");
    EXPECT_EQ(strippingAccelerators("__init"), "__init");
    EXPECT_EQ(strippingAccelerators("a ~ b~"), "a ~ b~");
    EXPECT_EQ(strippingAccelerators("_ x_.y"), "_ x_.y");
    EXPECT_EQ(strippingAccelerators("_\u00c9crire"), "\u00c9crire");
    // Ampersands are not this function's marks.
    EXPECT_EQ(strippingAccelerators("&File"), "&File");
}

TEST(Accelerators, LongWhiteSpaceRunsAreHandledInOnePass) {
    const std::string spaces(200000, ' ');
    EXPECT_EQ(strippingAmpersands("(" + spaces + "x"), "(" + spaces + "x");
    EXPECT_EQ(strippingAmpersands("x" + spaces + "(&X)"), "x");
}
