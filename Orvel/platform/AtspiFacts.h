#pragma once
// What the reader asks of every element, fetched for many elements at once. libatspi asks one question at
// a time and waits for each answer, a round trip to the other process per question; here the questions
// about a set of elements all go out on libatspi's connection together and their answers are collected
// after, so the other process answers them back to back. Callers hold atspiLock().

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"
#include "Orvel/platform/AtspiExchange.h"

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
    bool hasTable = false;
    // The characters of its text interface, when they were asked for with the other facts.
    std::optional<std::string> text;
};

struct Limits {
    int children;
    // Characters of a text.
    int textCharacters;
};

// Each question fills one field; text also tells whether the element has a text interface.
enum class Question { role, states, extents, name, description, children, interfaces, text };

// What tells whether an element is on screen: asked first, so that the rest is asked only of the
// elements that are.
inline constexpr std::array<Question, 3> firstLook{Question::role, Question::states, Question::extents};
inline constexpr std::array<Question, 4> restLook{Question::name, Question::description, Question::children,
                                                  Question::interfaces};
// The rest for a view of many rows (a table, a list): its children are asked for only once it is known
// which of them can show.
inline constexpr std::array<Question, 3> restLookOfView{Question::name, Question::description,
                                                        Question::interfaces};
// The rest for an element that shows its text (a label, a heading): the text itself stands for the
// interface it comes from and for its name, and such an element holds no others.
inline constexpr std::array<Question, 2> restLookOfText{Question::description, Question::text};
// What a text element that shows no text is asked besides: what its name says, and what it holds.
inline constexpr std::array<Question, 2> restLookOfEmptyText{Question::name, Question::children};
inline constexpr std::array<Question, 7> all{Question::role,      Question::states,      Question::extents,
                                             Question::name,      Question::description, Question::children,
                                             Question::interfaces};

// Asks `questions` of every element and fills those fields of its Facts in `out` (one per element, in
// order), within `limits`; a question that fails or is not answered leaves its field empty.
void read(const std::vector<AtspiAccessible*>& elements, std::span<const Question> questions,
          const Limits& limits, AtspiExchange& exchange, std::vector<Facts>& out);
// The same with the questions of each element by its index.
using QuestionsOf = std::function<std::span<const Question>(std::size_t element)>;
void read(const std::vector<AtspiAccessible*>& elements, const QuestionsOf& questionsOf, const Limits& limits,
          AtspiExchange& exchange, std::vector<Facts>& out);

} // namespace orvel::AtspiFacts
