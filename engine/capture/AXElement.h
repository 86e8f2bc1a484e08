#pragma once
// One element of another process's accessibility tree, as the platform backend hands it out. The
// reader's logic works on this interface only, so it runs the same on every backend and on fakes.

#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <variant>
#include <vector>

namespace orvel {

struct AXPoint {
    double x = 0;
    double y = 0;
};

struct AXSize {
    double width = 0;
    double height = 0;
};

class AXElement;
using AXElementRef = std::shared_ptr<AXElement>;
using AXElementList = std::vector<AXElementRef>;

// A value of a kind the reader has no use for (a boolean, a range, an array that holds anything but
// elements, ...).
struct AXOtherValue {};

using AXValue = std::variant<AXOtherValue, std::string, double, AXPoint, AXSize, AXElementRef, AXElementList>;

class AXElement {
  public:
    virtual ~AXElement() = default;

    // The attribute's value; absent when the element has no such attribute, the process does not answer
    // in time, or the read fails for any other reason.
    virtual std::optional<AXValue> attribute(const std::string& name) const = 0;

    // How long a read of this element waits for the process before it gives up.
    virtual void setMessagingTimeout(double seconds) = 0;
    // Once `stop` is requested, reads of this element and of the elements reached from it give nothing,
    // and a read waiting for the process ends.
    virtual void setStopToken(std::stop_token stop) = 0;
    // Whether the read this element belongs to gave up before its end (the process stopped answering, or
    // the read's time ran out), so that some of what was asked is missing.
    virtual bool cut() const { return false; }
};

} // namespace orvel
