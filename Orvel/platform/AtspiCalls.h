#pragma once
// The reads the backend makes besides the facts of every element, each turning a failed read into an
// absent value. All but the children one by one go through the read's exchange, so they end when the read
// is stopped or given up. Callers hold atspiLock().

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiExchange.h"

namespace orvel::AtspiCalls {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// What the reader asks of an element's states.
struct States {
    bool showing = false;
    bool visible = false;
    bool active = false;
    bool singleLine = false;
    bool multiLine = false;
};

// How long libatspi's own calls wait for the other process; libatspi has one such time-out for the whole
// process. New reads start with it.
void setTimeout(int milliseconds);
int timeoutMs();

std::optional<std::string> name(AtspiExchange& exchange, AtspiAccessible* accessible);
// The toolkit of an application element, and its version.
std::optional<std::string> toolkitName(AtspiExchange& exchange, AtspiAccessible* application);
std::optional<std::string> toolkitVersion(AtspiExchange& exchange, AtspiAccessible* application);
// A non-empty value of the element's object attributes.
std::optional<std::string> objectAttribute(AtspiExchange& exchange, AtspiAccessible* accessible,
                                           const char* key);
// For each element, the characters of its text interface, at most `limit`; the caller knows that the
// elements have the interface. Asked for all of them together.
std::vector<std::optional<std::string>> texts(AtspiExchange& exchange,
                                              const std::vector<AtspiAccessible*>& accessibles, int limit);
// The current value of the element's value interface.
std::optional<double> currentValue(AtspiExchange& exchange, AtspiAccessible* accessible);

// At most `limit` children asked for one at a time through libatspi, which also finds the elements of
// other applications. Nothing once the read was given up or its bound has passed; a call that runs into
// the time-out, or finds the app gone, gives the read up.
std::vector<GObjectPtr<AtspiAccessible>> childrenOneByOne(AtspiExchange& exchange,
                                                          AtspiAccessible* accessible, int limit);

} // namespace orvel::AtspiCalls
