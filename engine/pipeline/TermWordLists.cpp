#include "engine/pipeline/Terms.h"

namespace orvel::Terms {

const WordSet& commandVerbs() {
    static const WordSet words{
        "show",      "hide",     "open",   "close",      "check",    "click",  "double-click", "press",
        "hold",      "add",      "remove", "delete",     "create",   "select", "choose",       "enable",
        "disable",   "allow",    "turn",   "try",        "keep",     "start",  "stop",         "run",
        "drag",      "drop",     "tap",    "double-tap", "pick",     "move",   "copy",         "paste",
        "save",      "load",     "reset",  "restart",    "relaunch", "quit",   "go",           "see",
        "let",       "make",     "get",    "send",       "toggle",   "type",   "collapse",     "expand",
        "don't",     "do",       "ask",    "apply",      "sort",     "rename", "edit",         "import",
        "export",    "print",    "share",  "find",       "replace",  "cancel", "undo",         "redo",
        "cut",       "minimize", "bring",  "enter",      "exit",     "use",    "install",      "uninstall",
        "duplicate", "merge",    "clear",  "empty",      "lock",     "unlock"};
    return words;
}

const WordSet& stopWords() {
    static const WordSet words{
        "a",     "an",    "the",   "and",    "or",    "but",   "if",     "then",  "else", "when",    "while",
        "of",    "to",    "in",    "on",     "at",    "by",    "for",    "from",  "with", "without", "into",
        "onto",  "over",  "under", "as",     "is",    "are",   "was",    "were",  "be",   "been",    "it",
        "its",   "this",  "that",  "these",  "those", "you",   "your",   "we",    "our",  "they",    "their",
        "he",    "she",   "i",     "me",     "my",    "not",   "no",     "yes",   "all",  "any",     "some",
        "more",  "most",  "less",  "can",    "will",  "would", "should", "could", "may",  "might",   "do",
        "does",  "did",   "has",   "have",   "had",   "so",    "too",    "very",  "only", "also",    "just",
        "there", "here",  "what",  "which",  "who",   "how",   "why",    "than",  "each", "every",   "other",
        "use",   "using", "used",  "make",   "get",   "set",   "new",    "now",   "out",  "up",      "down",
        "off",   "about", "after", "before", "again", "per"};
    return words;
}

const WordSet& ambiguousWords() {
    static const WordSet words{"free",  "left",    "right",  "clear", "light",   "run",   "set",   "open",
                               "close", "current", "last",   "next",  "back",    "home",  "still", "fine",
                               "well",  "mean",    "kind",   "order", "present", "match", "case",  "point",
                               "even",  "space",   "change", "check", "play",    "fair",  "lead",  "live"};
    return words;
}

} // namespace orvel::Terms
