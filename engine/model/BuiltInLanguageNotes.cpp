#include "engine/model/BuiltInLanguageNotes.h"

// These texts go to the model verbatim; every character counts.
// clang-format off

namespace orvel {
namespace {

// German.
LanguageNotes german() {
    LanguageNotes notes;
    notes.always = {
        "Settings are «Einstellungen», brightness is «Helligkeit».",
        "Labels and headings are nouns or noun phrases: «Automatische Helligkeit». Buttons and menu items use the infinitive: «Einstellungen öffnen».",
    };
    notes.keepCommon = {"Keep the English words German users say: Display, Update, Login, Shortcut, Feedback."};
    notes.translateAll = {"Use German words: Bildschirm (display), Aktualisierung (update), Anmeldung (login), Tastenkürzel (shortcut)."};
    notes.informal = {"Address the reader with «du»."};
    notes.formal = {"Address the reader with «Sie»."};
    notes.terms = {
        {"settings", "Einstellungen"},
        {"brightness", "Helligkeit"},
    };
    notes.keepCommonTerms = {
        {"display", "Display"},
    };
    notes.translateAllTerms = {
        {"display", "Bildschirm"},
        {"screen", "Bildschirm"},
    };
    notes.quotes = LanguageNotes::Quotes{"„", "“"};
    return notes;
}

// French.
LanguageNotes french() {
    LanguageNotes notes;
    notes.always = {
        "Settings are «Réglages», a display is «écran» (or «moniteur» for an external one), brightness is «luminosité».",
        "Labels and headings are noun phrases; buttons and menu items use the infinitive: «Ouvrir les réglages».",
        "Put a narrow no-break space before : ; ? !",
    };
    notes.keepCommon = {"Common anglicisms are fine where French users say them, but prefer the French word when one is in daily use: «mise à jour», «raccourci»."};
    notes.translateAll = {"Use French words only: «mise à jour», «raccourci clavier», «connexion», «écran»."};
    notes.informal = {"Address the reader with «tu»."};
    notes.formal = {"Address the reader with «vous»."};
    notes.terms = {
        {"settings", "réglages"},
        {"display", "écran"},
        {"screen", "écran"},
        {"brightness", "luminosité"},
    };
    notes.quotes = LanguageNotes::Quotes{"«\u202F", "\u202F»"};
    return notes;
}

// Spanish.
LanguageNotes spanish() {
    LanguageNotes notes;
    notes.always = {
        "Settings are «Configuración», as in Chrome, Firefox and LibreOffice; a display is «pantalla» (or «monitor» for an external one), brightness is «brillo».",
        "Labels and headings are noun phrases in sentence case. Buttons and menu items are short verbs or nouns.",
    };
    notes.keepCommon = {"Keep the English words Spanish users say: login, feedback."};
    notes.translateAll = {"Use Spanish words: «inicio de sesión» (login), «atajo de teclado» (shortcut), «actualización» (update)."};
    notes.informal = {"Address the reader with «tú»."};
    notes.formal = {"Address the reader with «usted»."};
    notes.terms = {
        {"settings", "configuración"},
        {"display", "pantalla"},
        {"screen", "pantalla"},
        {"brightness", "brillo"},
    };
    return notes;
}

// Italian.
LanguageNotes italian() {
    LanguageNotes notes;
    notes.always = {
        "Settings are «Impostazioni», brightness is «luminosità».",
        "Labels and headings are noun phrases in sentence case.",
    };
    notes.keepCommon = {"Keep the English words Italian users say: display, login, shortcut, update."};
    notes.translateAll = {"Use Italian words: «schermo» (display), «accesso» (login), «scorciatoia da tastiera» (shortcut), «aggiornamento» (update)."};
    notes.informal = {"Address the reader with «tu»."};
    notes.formal = {"Address the reader with «Lei»."};
    notes.terms = {
        {"settings", "impostazioni"},
        {"brightness", "luminosità"},
        {"screen", "schermo"},
    };
    notes.keepCommonTerms = {
        {"display", "display"},
    };
    notes.translateAllTerms = {
        {"display", "schermo"},
    };
    return notes;
}

// Brazilian Portuguese.
LanguageNotes brazilianPortuguese() {
    LanguageNotes notes;
    notes.always = {
        "Settings are «Configurações», as in all the widely used software; a display is «tela» (or «monitor» for an external one), brightness is «brilho». This is Brazilian Portuguese.",
        "Labels and headings are noun phrases in sentence case.",
    };
    notes.keepCommon = {"Keep the English words Brazilians say: login, feedback."};
    notes.translateAll = {"Use Portuguese words: «início de sessão» (login), «atalho de teclado» (shortcut), «atualização» (update)."};
    notes.informal = {"Address the reader with «você»."};
    notes.formal = {"Address the reader with «o senhor» / «a senhora» only where Brazilian software would; usually «você» is right."};
    notes.terms = {
        {"settings", "configurações"},
        {"display", "tela"},
        {"screen", "tela"},
        {"brightness", "brilho"},
    };
    return notes;
}

// European Portuguese.
LanguageNotes europeanPortuguese() {
    LanguageNotes notes;
    notes.always = {"Settings are «Definições», a display is «ecrã» (or «monitor» for an external one), brightness is «brilho». This is European Portuguese."};
    notes.informal = {"Address the reader with «tu»."};
    notes.formal = {"Address the reader with «você» forms as Portuguese software does."};
    notes.terms = {
        {"settings", "definições"},
        {"display", "ecrã"},
        {"screen", "ecrã"},
        {"brightness", "brilho"},
    };
    return notes;
}

} // namespace

const std::map<std::string, LanguageNotes, std::less<>>& LanguageNotes::builtIn() {
    static const std::map<std::string, LanguageNotes, std::less<>> table{
        {"ro", BuiltInLanguageNotes::romanian()},
        {"de", german()},
        {"fr", french()},
        {"es", spanish()},
        {"it", italian()},
        {"pt", brazilianPortuguese()},
        {"pt-PT", europeanPortuguese()},
    };
    return table;
}

} // namespace orvel
