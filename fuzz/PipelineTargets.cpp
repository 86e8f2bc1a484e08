// What comes back from a model: the answer text, its fields, and the cleaning and checking of each
// translation against its English source.

#include "core/Json.h"
#include "core/SourceString.h"
#include "engine/model/ChatClient.h"
#include "engine/model/ChatError.h"
#include "engine/pipeline/AnswerFields.h"
#include "engine/pipeline/Normalizer.h"
#include "engine/pipeline/Validation.h"
#include "engine/pipeline/VariableMasking.h"
#include "fuzz/FuzzTarget.h"

namespace orvel::fuzz {
namespace {

void answers(std::string_view bytes) {
    ChatClient::jsonObject(bytes, "translations");
    ChatClient::answerText(bytes);
    ChatClient::retryDelay(bytes);
    ChatClient::stripThinking(bytes);
    try {
        require(ChatClient::decodeJSON(bytes).is_object(), "a decoded answer is one object");
    } catch (const ChatError&) {
    }
}

void answerFields(std::string_view bytes) {
    json::Json value;
    try {
        value = json::parse(bytes);
    } catch (const json::DecodingError&) {
        return;
    }
    AnswerFields::text(value, "text");
    AnswerFields::text(value, "id");
    AnswerFields::pluralForms(value);
    if (value.is_object())
        for (const auto& [key, item] : value.items()) {
            AnswerFields::text(item, "text");
            AnswerFields::pluralForms(item);
        }
}

// The input is the source, the answer and the language, cut at NUL bytes.
void normalizer(std::string_view bytes) {
    const auto parts = pieces(bytes, 3);
    Normalizer::normalize(parts[1], parts[0], parts[2]);
    Normalizer::normalize(Normalizer::Forms{{"one", std::string(parts[1])}, {"other", std::string(parts[0])}},
                          parts[0], parts[2]);
    Normalizer::codeParts(parts[2]);
    Normalizer::words(parts[1]);
}

void validation(std::string_view bytes) {
    const auto parts = pieces(bytes, 3);
    SourceString source{
        "Main", std::string(parts[0]), std::string(parts[0]), std::nullopt, std::nullopt, true, false};
    const std::optional<std::string> text(parts[1]);
    Validation::problem(text, std::nullopt, source, parts[2]);
    Validation::problem(std::nullopt, Validation::PluralForms{{"one", text.value()}, {"other", text.value()}},
                        source, parts[2]);
    Validation::variablesProblem(parts[1], parts[0]);
    Validation::placeholderSpellingProblem(parts[1], parts[0]);
    Validation::percentProblem(parts[1], parts[0]);
}

// Masking the variables of a text and unmasking the masked text gives the text back. A text that
// already holds a token's bracket is left out: every token in an answer stands for its variable.
void masking(std::string_view bytes) {
    const auto masked = VariableMasking::maskVariables(bytes);
    const auto unmasked = VariableMasking::unmaskVariables(masked.text, masked.variables);
    if (bytes.find("\u27E6") == std::string_view::npos)
        require(unmasked == bytes, "unmasking a masked text gives the text back");
}

} // namespace

std::vector<NamedTarget> pipelineTargets() {
    return {{"answers", answers},
            {"answerfields", answerFields},
            {"normalizer", normalizer},
            {"validation", validation},
            {"masking", masking}};
}

} // namespace orvel::fuzz
