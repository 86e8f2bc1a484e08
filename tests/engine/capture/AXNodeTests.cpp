#include <gtest/gtest.h>

#include "engine/capture/AXNode.h"
#include "engine/capture/AXReader.h"

namespace orvel {
namespace {

json::Json nested(int levels) {
    json::Json node = {{"role", "AXGroup"}, {"children", json::Json::array()}};
    for (int i = 0; i < levels; ++i)
        node = {{"role", "AXGroup"}, {"children", json::Json::array({node})}};
    return node;
}

TEST(AXNodeTests, EncodesOnlyPresentFieldsAndRoundTrips) {
    AXNode node{.role = "AXButton",
                .title = "Save",
                .value = "",
                .frame = std::vector<double>{1, 2, 3, 4},
                .children = {AXNode{.role = ""}}};
    json::Json encoded = node.toJson();
    EXPECT_EQ(encoded, json::Json::parse(R"({"role":"AXButton","title":"Save","value":"","frame":[1,2,3,4],)"
                                         R"("children":[{"role":"","children":[]}]})"));
    EXPECT_EQ(AXNode::fromJson(encoded), node);
}

TEST(AXNodeTests, DecodingRejectsMissingRequiredKeysAndBadFrames) {
    EXPECT_THROW(AXNode::fromJson(json::Json::parse(R"({"children":[]})")), json::DecodingError);
    EXPECT_THROW(AXNode::fromJson(json::Json::parse(R"({"role":"AXButton"})")), json::DecodingError);
    EXPECT_THROW(AXNode::fromJson(json::Json::parse(R"({"role":"AXButton","children":{}})")),
                 json::DecodingError);
    EXPECT_THROW(AXNode::fromJson(json::Json::parse(R"({"role":"AXButton","children":[],"frame":[1,2,3]})")),
                 json::DecodingError);
    EXPECT_THROW(
        AXNode::fromJson(json::Json::parse(R"({"role":"AXButton","children":[{"role":1,"children":[]}]})")),
        json::DecodingError);
}

TEST(AXNodeTests, DecodingAcceptsWhatAReadCanProduceButNoDeeper) {
    EXPECT_NO_THROW(AXNode::fromJson(nested(AXReader::maxDepth)));
    EXPECT_THROW(AXNode::fromJson(nested(AXReader::maxDepth + 1)), json::DecodingError);
}

} // namespace
} // namespace orvel
