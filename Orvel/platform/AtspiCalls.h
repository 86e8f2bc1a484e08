#pragma once
// The libatspi calls the backend makes one at a time, each turning a failed read into an absent value.
// Callers hold atspiLock(); every call goes to the other process and waits for its answer.

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

// How long every call waits for the other process; libatspi has one such time-out for the whole process.
void setTimeout(int milliseconds);
int timeoutMs();

// "" when the role cannot be read.
std::string roleName(AtspiAccessible* accessible);
std::optional<std::string> name(AtspiAccessible* accessible);
std::optional<std::string> toolkitName(AtspiAccessible* accessible);
// A non-empty value of the element's object attributes.
std::optional<std::string> objectAttribute(AtspiAccessible* accessible, const char* key);
// The characters of the element's text interface, at most `limit`, and its value interface's current
// value; the caller knows that the element has the interface.
std::optional<std::string> text(AtspiAccessible* accessible, int limit);
std::optional<double> currentValue(AtspiAccessible* accessible);

// At most `limit`; 0 when the count cannot be read.
int childCount(AtspiAccessible* accessible, int limit);
// A new reference, or null.
AtspiAccessible* childAt(AtspiAccessible* accessible, int index);

} // namespace orvel::AtspiCalls
