#pragma once
// An in-memory accessibility tree. The tree owns every element, so children may point back at their
// ancestors (as buggy apps do) without leaking.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/capture/AXNode.h"
#include "engine/capture/AXPlatform.h"

namespace orvel {

class FakeAXElement : public AXElement {
  public:
    std::map<std::string, AXValue> attributes;
    // Reads of these attributes throw, like a backend that breaks its contract.
    std::set<std::string> throwing;
    std::optional<double> messagingTimeout;
    // The read gave up before its end, as a backend does when the app stops answering.
    bool cutRead = false;
    mutable int reads = 0;

    std::optional<AXValue> attribute(const std::string& name) const override {
        ++reads;
        if (throwing.contains(name))
            throw std::runtime_error("read failed");
        auto it = attributes.find(name);
        if (it == attributes.end())
            return std::nullopt;
        return it->second;
    }
    void setMessagingTimeout(double seconds) override { messagingTimeout = seconds; }
    void setStopToken(std::stop_token) override {}
    bool cut() const override { return cutRead; }
};

class FakeAXPlatform : public AXPlatform {
  public:
    bool trusted = true;
    mutable int trustRequests = 0;
    // What application(pid) copies into each fresh application element.
    std::map<pid_t, FakeAXElement> applications;
    // Every application element handed out, in order.
    mutable std::vector<std::shared_ptr<FakeAXElement>> created;

    bool isTrusted() const override { return trusted; }
    void requestTrust() const override { ++trustRequests; }
    AXElementRef application(pid_t pid) const override {
        auto it = applications.find(pid);
        if (it == applications.end())
            return nullptr;
        created.push_back(std::make_shared<FakeAXElement>(it->second));
        return created.back();
    }

    // A new element owned by this platform.
    FakeAXElement& element(std::string role = {}) {
        m_elements.push_back(std::make_unique<FakeAXElement>());
        if (!role.empty())
            m_elements.back()->attributes["AXRole"] = std::move(role);
        return *m_elements.back();
    }

    // An element of a kind of the caller's own, owned by this platform.
    FakeAXElement* adopt(std::unique_ptr<FakeAXElement> element) {
        m_elements.push_back(std::move(element));
        return m_elements.back().get();
    }

    // A handle that does not own the element, so references may form cycles.
    static AXElementRef ref(FakeAXElement& element) {
        return AXElementRef(&element, [](AXElement*) {});
    }

    static void setChildren(FakeAXElement& parent, const std::vector<FakeAXElement*>& children,
                            const std::string& attribute = "AXChildren") {
        AXElementList list;
        for (FakeAXElement* child : children)
            list.push_back(ref(*child));
        parent.attributes[attribute] = std::move(list);
    }

    // Elements that show `tree`: its fields as attributes, its children as "AXChildren".
    FakeAXElement& build(const AXNode& tree) {
        FakeAXElement& out = element(tree.role);
        const std::pair<const char*, const std::optional<std::string>*> texts[] = {
            {"AXSubrole", &tree.subrole},   {"AXTitle", &tree.title},
            {"AXDescription", &tree.label}, {"AXValue", &tree.value},
            {"AXHelp", &tree.help},         {"AXPlaceholderValue", &tree.placeholder}};
        for (const auto& [name, text] : texts)
            if (*text)
                out.attributes[name] = **text;
        if (tree.frame) {
            out.attributes["AXPosition"] = AXPoint{(*tree.frame)[0], (*tree.frame)[1]};
            out.attributes["AXSize"] = AXSize{(*tree.frame)[2], (*tree.frame)[3]};
        }
        std::vector<FakeAXElement*> children;
        for (const AXNode& child : tree.children)
            children.push_back(&build(child));
        if (!children.empty())
            setChildren(out, children);
        return out;
    }

  private:
    std::vector<std::unique_ptr<FakeAXElement>> m_elements;
};

} // namespace orvel
