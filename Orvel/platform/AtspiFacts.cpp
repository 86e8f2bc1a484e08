#include "Orvel/platform/AtspiFacts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "Orvel/platform/AtspiMessages.h"

namespace orvel::AtspiFacts {
namespace {

using AtspiMessages::accessibleInterface;
using AtspiMessages::basic;

AtspiExchange::Question question(AtspiAccessible* element, Question question) {
    switch (question) {
    case Question::role:
        return AtspiMessages::method(element, accessibleInterface, "GetRole");
    case Question::states:
        return AtspiMessages::method(element, accessibleInterface, "GetState");
    case Question::name:
        return AtspiMessages::property(element, accessibleInterface, "Name");
    case Question::description:
        return AtspiMessages::property(element, accessibleInterface, "Description");
    case Question::children:
        return AtspiMessages::method(element, accessibleInterface, "GetChildren");
    case Question::interfaces:
        return AtspiMessages::method(element, accessibleInterface, "GetInterfaces");
    case Question::text: {
        // The whole text: -1 stands for its end, which a toolkit need not be asked to count first.
        AtspiExchange::Question out = AtspiMessages::method(element, "org.a11y.atspi.Text", "GetText");
        const dbus_int32_t start = 0;
        const dbus_int32_t end = -1;
        if (out.message)
            dbus_message_append_args(out.message.get(), DBUS_TYPE_INT32, &start, DBUS_TYPE_INT32, &end,
                                     DBUS_TYPE_INVALID);
        return out;
    }
    case Question::extents: {
        AtspiExchange::Question out =
            AtspiMessages::method(element, "org.a11y.atspi.Component", "GetExtents");
        const dbus_uint32_t screen = ATSPI_COORD_TYPE_SCREEN;
        if (out.message)
            dbus_message_append_args(out.message.get(), DBUS_TYPE_UINT32, &screen, DBUS_TYPE_INVALID);
        return out;
    }
    }
    return {};
}

AtspiCalls::States stateSet(DBusMessageIter& iter) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY)
        return {};
    DBusMessageIter words;
    dbus_message_iter_recurse(&iter, &words);
    std::uint64_t bits = 0;
    for (int shift = 0; shift < 64 && dbus_message_iter_get_arg_type(&words) == DBUS_TYPE_UINT32;
         shift += 32) {
        dbus_uint32_t word = 0;
        dbus_message_iter_get_basic(&words, &word);
        bits |= static_cast<std::uint64_t>(word) << shift;
        dbus_message_iter_next(&words);
    }
    auto has = [&](AtspiStateType state) { return ((bits >> state) & 1U) != 0; };
    return {.showing = has(ATSPI_STATE_SHOWING),
            .visible = has(ATSPI_STATE_VISIBLE),
            .active = has(ATSPI_STATE_ACTIVE),
            .singleLine = has(ATSPI_STATE_SINGLE_LINE),
            .multiLine = has(ATSPI_STATE_MULTI_LINE)};
}

void interfaceNames(DBusMessageIter& iter, Facts& facts) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY)
        return;
    DBusMessageIter names;
    dbus_message_iter_recurse(&iter, &names);
    while (dbus_message_iter_get_arg_type(&names) == DBUS_TYPE_STRING) {
        const char* name = nullptr;
        dbus_message_iter_get_basic(&names, &name);
        facts.hasText = facts.hasText || std::strcmp(name, "org.a11y.atspi.Text") == 0;
        facts.hasValue = facts.hasValue || std::strcmp(name, "org.a11y.atspi.Value") == 0;
        facts.hasTable = facts.hasTable || std::strcmp(name, "org.a11y.atspi.Table") == 0;
        dbus_message_iter_next(&names);
    }
}

std::optional<AtspiRect> rectangle(DBusMessageIter& iter) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_STRUCT)
        return std::nullopt;
    DBusMessageIter fields;
    dbus_message_iter_recurse(&iter, &fields);
    std::array<dbus_int32_t, 4> numbers{};
    for (dbus_int32_t& number : numbers) {
        if (dbus_message_iter_get_arg_type(&fields) != DBUS_TYPE_INT32)
            return std::nullopt;
        dbus_message_iter_get_basic(&fields, &number);
        dbus_message_iter_next(&fields);
    }
    return AtspiRect{.x = numbers[0], .y = numbers[1], .width = numbers[2], .height = numbers[3]};
}

// The (bus name, path) pairs of GetChildren; nothing when a child belongs to another application, whose
// objects libatspi would have to look up first.
std::optional<std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>>
childList(DBusMessageIter& iter, AtspiApplication* app, int limit) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY || !app || !app->bus_name)
        return std::nullopt;
    DBusMessageIter entries;
    dbus_message_iter_recurse(&iter, &entries);
    std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>> out;
    for (;
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_STRUCT && static_cast<int>(out.size()) < limit;
         dbus_message_iter_next(&entries)) {
        AtspiAccessible* child = AtspiMessages::reference(entries, app);
        if (!child)
            return std::nullopt;
        out.emplace_back(child);
    }
    return out;
}

// At most `limit` characters (code points) of a UTF-8 text.
std::string characters(std::string text, int limit) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit) {
            text.resize(i);
            break;
        }
    return text;
}

void answer(AtspiAccessible* element, Question question, DBusMessage* reply, const Limits& limits,
            Facts& facts) {
    DBusMessageIter iter;
    const bool isProperty = question == Question::name || question == Question::description;
    if (!AtspiMessages::firstArgument(reply, isProperty, iter))
        return;
    switch (question) {
    case Question::role:
        if (auto number = basic<dbus_uint32_t>(iter, DBUS_TYPE_UINT32)) {
            gchar* roleName = atspi_role_get_name(static_cast<AtspiRole>(*number));
            facts.roleName = roleName ? roleName : "";
            g_free(roleName);
        }
        break;
    case Question::states:
        facts.states = stateSet(iter);
        break;
    case Question::name:
        facts.name = AtspiMessages::text(iter);
        break;
    case Question::description:
        facts.description = AtspiMessages::text(iter);
        break;
    case Question::children:
        facts.children = childList(iter, element->parent.app, limits.children);
        break;
    case Question::interfaces:
        interfaceNames(iter, facts);
        break;
    case Question::extents:
        facts.extents = rectangle(iter);
        break;
    case Question::text:
        facts.text = AtspiMessages::text(iter, true);
        if (facts.text) {
            facts.hasText = true;
            facts.text = characters(std::move(*facts.text), limits.textCharacters);
        }
        break;
    }
}

// One exchange for many elements keeps the other process answering while the first answers are read;
// the bus daemon lets a connection wait for many thousand answers, and a bounded batch stays well within.
constexpr std::size_t questionsInFlight = 8192;

// The questions of elements [first, end) in one exchange.
void readSome(const std::vector<AtspiAccessible*>& elements, std::size_t first, std::size_t end,
              const QuestionsOf& questionsOf, const Limits& limits, AtspiExchange& exchange,
              std::vector<Facts>& out) {
    std::vector<AtspiExchange::Question> asked;
    std::vector<std::pair<std::size_t, Question>> about;
    for (std::size_t e = first; e < end; ++e)
        for (Question q : questionsOf(e)) {
            asked.push_back(question(elements[e], q));
            about.emplace_back(e, q);
        }
    exchange.ask(std::move(asked), [&](std::size_t i, DBusMessage* reply) {
        answer(elements[about[i].first], about[i].second, reply, limits, out[about[i].first]);
    });
}

} // namespace

void read(const std::vector<AtspiAccessible*>& elements, const QuestionsOf& questionsOf, const Limits& limits,
          AtspiExchange& exchange, std::vector<Facts>& out) {
    out.resize(std::max(out.size(), elements.size()));
    std::size_t first = 0;
    std::size_t questions = 0;
    for (std::size_t end = 0; end < elements.size() && !exchange.givenUp(); ++end) {
        questions += questionsOf(end).size();
        if (questions >= questionsInFlight || end + 1 == elements.size()) {
            readSome(elements, first, end + 1, questionsOf, limits, exchange, out);
            first = end + 1;
            questions = 0;
        }
    }
}

void read(const std::vector<AtspiAccessible*>& elements, std::span<const Question> questions,
          const Limits& limits, AtspiExchange& exchange, std::vector<Facts>& out) {
    read(
        elements, [&](std::size_t) { return questions; }, limits, exchange, out);
}

} // namespace orvel::AtspiFacts
