#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "engine/reference/XmlTree.h"

using namespace orvel::SoftwareFormats;

namespace {

// The pieces of a tree in a compact form: elements as name{...}, text in brackets.
std::string shape(const Tree& tree) {
    std::string out = tree.name + "{";
    for (const auto& piece : tree.children) {
        if (const auto* text = std::get_if<std::string>(&piece))
            out += "[" + *text + "]";
        else
            out += shape(*std::get<std::shared_ptr<const Tree>>(piece));
    }
    return out + "}";
}

std::string repeated(std::string_view piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

std::vector<std::string> names(const Trees& trees) {
    std::vector<std::string> out;
    for (const auto& tree : trees)
        out.push_back(tree->name + (tree->attribute("id") ? "#" + *tree->attribute("id") : ""));
    return out;
}

} // namespace

TEST(XmlTree, KeepsPrefixesAttributesAndTextInOrder) {
    const auto root = tree(R"(<?xml version="1.0"?><r><xliff:g id="n" example="5">%1$s</xliff:g> left</r>)");
    EXPECT_EQ(root->name, "");
    EXPECT_EQ(shape(*root), "{r{xliff:g{[%1$s]}[ left]}}");
    const auto g = root->elements().at(0)->elements().at(0);
    EXPECT_EQ(g->attributes.size(), 2u);
    EXPECT_EQ(*g->attribute("example"), "5");
    EXPECT_EQ(g->attribute("missing"), nullptr);
}

TEST(XmlTree, MergesCharactersEntitiesAndCdataIntoOnePiece) {
    // Comments and processing instructions leave no trace, so the text around them joins up.
    const auto root = tree("<r>a &amp; &#x42;<!-- note --><![CDATA[<b>x</b>]]><?pi data?> y\n<e/>z</r>");
    EXPECT_EQ(shape(*root), "{r{[a & B<b>x</b> y\n]e{}[z]}}");
    EXPECT_EQ(root->elements().at(0)->text(), "a & B<b>x</b> y\nz");
}

TEST(XmlTree, TextTakesTheContentOfNestedMarkup) {
    const auto root = tree("<p>a <b>bold <i>and</i> more</b> word</p>");
    EXPECT_EQ(root->text(), "a bold and more word");
    EXPECT_EQ(root->elements().at(0)->elements().size(), 1u);
}

TEST(XmlTree, ElementsNamedAreFoundAtAnyDepthInDocumentOrder) {
    const auto root = tree(R"(<m id="1"><x><m id="2"><m id="3"/></m></x><m id="4"/></m>)");
    EXPECT_EQ(names(elements("m", root->elements())), (std::vector<std::string>{"m#1", "m#2", "m#3", "m#4"}));
    EXPECT_TRUE(elements("M", root->elements()).empty());
    EXPECT_EQ(names(elements("m", root->elements().at(0)->elements())),
              (std::vector<std::string>{"m#2", "m#3", "m#4"}));
}

TEST(XmlTree, BuilderNeverPopsTheRoot) {
    Tree::Builder builder;
    builder.didEndElement();
    builder.foundCharacters("a");
    builder.didStartElement("e", {});
    builder.foundCharacters("b");
    builder.didEndElement();
    builder.didEndElement();
    builder.foundCharacters("c");
    builder.foundCharacters("d");
    EXPECT_EQ(shape(*builder.root()), "{[a]e{[b]}[cd]}");
}

TEST(XmlTree, DocumentsThatAreNotWellFormedFailWithTheParsersMessage) {
    for (const std::string bad : {"", "<a>", "<a></b>", "<a>x</a><b/>", "<a b='1' b='2'/>",
                                  "<a>&undefined;</a>", "<a>\xff</a>", "text"}) {
        try {
            tree(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const XmlError& error) {
            EXPECT_NE(std::string(error.what()).find("line 1"), std::string::npos) << error.what();
        }
    }
}

TEST(XmlTree, DeepNestingIsRefusedRatherThanExhaustingTheStack) {
    const std::string deep = repeated("<a>", 100000) + repeated("</a>", 100000);
    EXPECT_THROW(tree(deep), XmlError);
    const std::string fine = repeated("<a>", 200) + "x" + repeated("</a>", 200);
    EXPECT_EQ(tree(fine)->text(), "x");
}

TEST(XmlTree, EntityExpansionIsBounded) {
    std::string document = R"(<!DOCTYPE r [<!ENTITY e0 "0123456789">)";
    for (int level = 1; level < 10; ++level)
        document += "<!ENTITY e" + std::to_string(level) + " \"" +
                    repeated("&e" + std::to_string(level - 1) + ";", 10) + "\">";
    document += "]><r>&e9;</r>";
    EXPECT_THROW(tree(document), XmlError);
    // A few declared entities, as some resource files use for a product name, still expand.
    EXPECT_EQ(tree(R"(<!DOCTYPE r [<!ENTITY app "Orvel">]><r>&app; Help</r>)")->text(), "Orvel Help");
}

TEST(XmlTree, ExternalEntitiesAreNeverFetched) {
    const auto secret =
        std::filesystem::temp_directory_path() / ("orvel-xml-secret-" + std::to_string(getpid()));
    std::ofstream(secret) << "SECRET";
    const std::string document =
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret.string() + "\">]><r>[&x;]</r>";
    std::string text;
    try {
        text = tree(document)->text();
    } catch (const XmlError&) {
    }
    std::filesystem::remove(secret);
    EXPECT_EQ(text.find("SECRET"), std::string::npos);
}
