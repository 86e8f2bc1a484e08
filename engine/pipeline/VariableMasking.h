#pragma once
// Template variables ("${name}", "{{name}}") travel to the model as numbered tokens ("⟦1⟧") so that it
// cannot translate or respell them, and are put back into its answer before the answer is checked.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::VariableMasking {

// A dollar sign and one pair of braces, or two pairs of braces, around a name without braces or white space.
inline constexpr std::string_view variablePattern = R"(\$\{[^{}\s]+\}|\{\{[^{}\s]+\}\})";

struct Masked {
    std::string text;
    // The variables in text order; token n stands for entry n (1-based).
    std::vector<std::string> variables;
};

// The token for the n-th variable: "⟦", n in decimal, "⟧".
std::string token(std::size_t number);

// Replaces each variable by the token of its place; a text without variables comes back unchanged.
Masked maskVariables(std::string_view text);

// Puts entry n of `variables` wherever the answer holds token n. Tokens are read from the answer
// only, never from a variable already put back, so a variable whose own text looks like a token stays
// as written. Tokens with no entry stay in the answer.
std::string unmaskVariables(std::string_view answer, const std::vector<std::string>& variables);

} // namespace orvel::VariableMasking
