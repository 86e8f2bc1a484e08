#include "engine/capture/AXReader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>

namespace orvel::AXReader {

namespace {

// A backend that breaks its promise not to throw still costs only the one field.
std::optional<AXValue> read(const AXElement& element, const std::string& attribute) {
    try {
        return element.attribute(attribute);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string decimalText(double number) {
    std::array<char, 64> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    if (error != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

// "AXValue" keeps an empty string and turns a number into its decimal text.
std::optional<std::string> valueText(const AXElement& element) {
    auto value = read(element, "AXValue");
    if (!value)
        return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&*value))
        return *text;
    if (const auto* number = std::get_if<double>(&*value))
        return decimalText(*number);
    return std::nullopt;
}

// `cut` becomes true when the budget ends the read with elements left unread.
AXNode readNode(const AXElement& element, int depth, int& budget, const std::stop_token& stop, bool& cut) {
    // Every node is read however low the budget, so it must not wrap around on absurd limits.
    if (budget > std::numeric_limits<int>::min())
        --budget;
    AXNode out;
    out.role = string(element, "AXRole").value_or("");
    out.subrole = string(element, "AXSubrole");
    out.title = string(element, "AXTitle");
    out.label = string(element, "AXDescription");
    out.help = string(element, "AXHelp");
    out.placeholder = string(element, "AXPlaceholderValue");
    out.value = valueText(element);
    out.frame = frame(element);
    if (depth >= maxDepth || stop.stop_requested())
        return out;
    if (budget <= 0) {
        // The budget may end exactly with the last element: only children left unread make the read cut.
        if (!cut && !children(element, "AXChildren").empty())
            cut = true;
        return out;
    }
    // Cyclic or huge trees stay finite: every node read takes from the one budget.
    const AXElementList list = children(element, "AXChildren");
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (stop.stop_requested())
            break;
        if (budget <= 0) {
            cut = true;
            break;
        }
        out.children.push_back(readNode(*list[i], depth + 1, budget, stop, cut));
    }
    return out;
}

void report(ReadOutcome* outcome, std::size_t cutFrom) {
    if (outcome && !outcome->cutFrom)
        outcome->cutFrom = cutFrom;
}

} // namespace

bool isTrusted(const AXPlatform& platform) {
    return platform.isTrusted();
}

void requestTrust(const AXPlatform& platform) {
    platform.requestTrust();
}

WindowList windows(const AXPlatform& platform, pid_t pid, int limit, const std::stop_token& stop,
                   ReadOutcome* outcome) {
    WindowList out;
    AXElementRef application = platform.application(pid);
    if (!application)
        return out;
    application->setMessagingTimeout(windowMessagingTimeout);
    application->setStopToken(stop);
    int budget = limit;
    bool budgetCut = false;
    const AXElementList listed = children(*application, "AXWindows");
    if (application->cut())
        report(outcome, 0);
    for (const AXElementRef& window : listed) {
        if (stop.stop_requested())
            break;
        auto role = string(*window, "AXRole");
        if (role != "AXWindow" && role != "AXPopover")
            continue;
        std::string title = string(*window, "AXTitle").value_or("");
        out.emplace_back(std::move(title), readNode(*window, 0, budget, stop, budgetCut));
        if (budgetCut || application->cut())
            report(outcome, out.size() - 1);
    }
    return out;
}

std::optional<AXNode> menuBar(const AXPlatform& platform, pid_t pid, int limit, const std::stop_token& stop,
                              ReadOutcome* outcome) {
    AXElementRef application = platform.application(pid);
    if (!application)
        return std::nullopt;
    application->setStopToken(stop);
    auto bar = read(*application, "AXMenuBar");
    if (application->cut())
        report(outcome, 0);
    if (!bar)
        return std::nullopt;
    const auto* element = std::get_if<AXElementRef>(&*bar);
    if (!element || !*element)
        return std::nullopt;
    int budget = limit;
    bool budgetCut = false;
    AXNode out = readNode(**element, 0, budget, stop, budgetCut);
    if (budgetCut || application->cut())
        report(outcome, 0);
    return out;
}

AXNode node(const AXElement& element, int depth, int& budget, const std::stop_token& stop) {
    bool cut = false;
    return readNode(element, depth, budget, stop, cut);
}

AXElementList children(const AXElement& element, const std::string& attribute) {
    auto value = read(element, attribute);
    if (!value)
        return {};
    auto* elements = std::get_if<AXElementList>(&*value);
    if (!elements)
        return {};
    AXElementList out;
    out.reserve(elements->size());
    for (AXElementRef& child : *elements)
        if (child)
            out.push_back(std::move(child));
    return out;
}

std::optional<std::string> string(const AXElement& element, const std::string& attribute) {
    auto value = read(element, attribute);
    if (!value)
        return std::nullopt;
    auto* text = std::get_if<std::string>(&*value);
    if (!text || text->empty())
        return std::nullopt;
    return std::move(*text);
}

std::optional<std::vector<double>> frame(const AXElement& element) {
    auto position = read(element, "AXPosition");
    auto size = read(element, "AXSize");
    if (!position || !size)
        return std::nullopt;
    const auto* point = std::get_if<AXPoint>(&*position);
    const auto* extent = std::get_if<AXSize>(&*size);
    if (!point || !extent)
        return std::nullopt;
    std::vector<double> out{point->x, point->y, extent->width, extent->height};
    for (double number : out)
        if (!std::isfinite(number))
            return std::nullopt;
    return out;
}

} // namespace orvel::AXReader
