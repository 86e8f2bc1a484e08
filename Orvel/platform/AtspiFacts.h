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
    // Absent when the toolkit does not list them in one answer; then they are asked for one by one.
    std::optional<std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>> children;
    bool hasText = false;
    bool hasValue = false;
};

// One Facts per element, in order, each with at most `childLimit` children; a question that fails or is
// not answered within `timeoutMs` leaves its field empty.
std::vector<Facts> read(const std::vector<AtspiAccessible*>& elements, int childLimit, int timeoutMs);

} // namespace orvel::AtspiFacts
