#pragma once
// What the reader asks of every element, fetched for many elements at once. libatspi asks one question at
// a time and waits for each answer, a round trip to the other process per question; here the questions
// about a set of elements all go out on libatspi's connection together and their answers are collected
// after, so the other process answers them back to back. Callers hold atspiLock().

#include <optional>
#include <string>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"

namespace orvel::AtspiFacts {

struct Facts {
    // "" when the role cannot be read.
    std::string roleName;
    AtspiCalls::States states;
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<AtspiRect> extents;
    int childCount = 0;
    bool hasText = false;
    bool hasValue = false;
};

// One Facts per element, in order; a question that fails or is not answered within `timeoutMs` leaves its
// field empty.
std::vector<Facts> read(const std::vector<AtspiAccessible*>& elements, int timeoutMs);

// At most `limit` children of the element in one question (new references), where the toolkit answers it
// and every child belongs to the element's application; otherwise nothing, and the caller asks child by
// child.
std::optional<std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>> children(AtspiAccessible* element,
                                                                             int limit, int timeoutMs);

} // namespace orvel::AtspiFacts
