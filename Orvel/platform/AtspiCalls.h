#pragma once
// The few libatspi calls the backend makes, each turning a failed read into an absent value. Callers
// hold atspiLock(); every call but the state set's goes to the other process and waits for its answer
// (the state set is the one libatspi keeps up to date from the app's events once read).

#include <memory>
#include <optional>
#include <string>

#include <atspi/atspi.h>

namespace orvel::AtspiCalls {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// What the reader asks of an element's states.
struct States {
    bool showing = false;
    bool active = false;
    bool singleLine = false;
    bool multiLine = false;
};

// "" when the role cannot be read.
std::string roleName(AtspiAccessible* accessible);
States states(AtspiAccessible* accessible);
std::optional<std::string> name(AtspiAccessible* accessible);
std::optional<std::string> description(AtspiAccessible* accessible);
std::optional<std::string> toolkitName(AtspiAccessible* accessible);
// A non-empty value of the element's object attributes.
std::optional<std::string> objectAttribute(AtspiAccessible* accessible, const char* key);
// The characters of the text interface, at most `limit`; absent without one.
std::optional<std::string> text(AtspiAccessible* accessible, int limit);
std::optional<double> currentValue(AtspiAccessible* accessible);
std::optional<AtspiRect> screenExtents(AtspiAccessible* accessible);

// At most `limit`; 0 when the count cannot be read.
int childCount(AtspiAccessible* accessible, int limit);
// A new reference, or null.
AtspiAccessible* childAt(AtspiAccessible* accessible, int index);

} // namespace orvel::AtspiCalls
