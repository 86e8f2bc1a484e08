#pragma once
// Reads what a running app shows into plain AXNode trees. Every read is synchronous, bounded by a node
// budget and a depth, and never fails: what cannot be read is simply absent.

#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "engine/capture/AXElement.h"
#include "engine/capture/AXNode.h"
#include "engine/capture/AXPlatform.h"

namespace orvel::AXReader {

// Nodes at this depth are read, their children are not.
inline constexpr int maxDepth = 60;
// How long the window read waits while the app answers nothing before it gives up the rest: a hung app
// costs this once per read, an app that keeps answering is waited for.
inline constexpr double windowMessagingTimeout = 2.0;

// (title, tree) of one window; the title is "" when the window has none.
using WindowList = std::vector<std::pair<std::string, AXNode>>;

// What a read returns besides its trees.
struct ReadOutcome {
    // The first window (of the list returned; 0 for the menu bar) from which on the read holds only part
    // of what the app showed: the app stopped answering, the read's time ran out, or the node budget was
    // spent with elements left unread. Absent when everything was read.
    std::optional<std::size_t> cutFrom;
};

bool isTrusted(const AXPlatform& platform);
void requestTrust(const AXPlatform& platform);

// The windows and popovers of the process, in the app's order; all of them share one budget of `limit`
// nodes. A stop request ends the read soon, with what was read so far.
WindowList windows(const AXPlatform& platform, pid_t pid, int limit, const std::stop_token& stop = {},
                   ReadOutcome* outcome = nullptr);

// The menu bar's tree, read with a budget of `limit` nodes; absent when the app has no menu bar. A stop
// request ends the read soon, with what was read so far.
std::optional<AXNode> menuBar(const AXPlatform& platform, pid_t pid, int limit,
                              const std::stop_token& stop = {}, ReadOutcome* outcome = nullptr);

// The element and as much of its subtree as `depth`, the shared `budget` and `stop` allow. The element
// itself is always read and takes one unit, so the budget may end at 0 or below.
AXNode node(const AXElement& element, int depth, int& budget, const std::stop_token& stop = {});

// The elements of an array attribute; empty when it is missing or is not an array of elements.
AXElementList children(const AXElement& element, const std::string& attribute);

// A non-empty string attribute.
std::optional<std::string> string(const AXElement& element, const std::string& attribute);

// [x, y, width, height] from "AXPosition" and "AXSize" when both are read and finite.
std::optional<std::vector<double>> frame(const AXElement& element);

} // namespace orvel::AXReader
