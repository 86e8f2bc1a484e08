#pragma once
// Small trees of the six programs' files, in their real layouts, with German and French translations.

#include "ReferenceRepositories.h"

namespace orvel::testing {

inline std::string grd(const std::string& files, const std::string& messages) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<grit current_release="1"><translations>)" +
           files + R"(</translations><release seq="1"><messages>)" + messages +
           "</messages></release></grit>";
}

inline std::string xtb(const std::string& translations) {
    return R"(<?xml version="1.0" ?><translationbundle lang="x">)" + translations + "</translationbundle>";
}

inline std::string message(const std::string& name, const std::string& text) {
    return R"(<message name=")" + name + R"(" use_name_for_id="true">)" + text + "</message>";
}

inline std::string translation(const std::string& id, const std::string& text) {
    return R"(<translation id=")" + id + R"(">)" + text + "</translation>";
}

// Two GRD files with part files above, beside and below their folder; XTB files for de and fr.
inline void serveChromium(ReferenceRepositories& repos) {
    repos.chromiumFile(
        "chrome/app/generated_resources.grd",
        grd(R"(<file path="resources/generated_de.xtb" lang="de" />
                              <file path="resources/generated_fr.xtb" lang="fr" />
                              <file path="resources/generated_ja.txt" lang="ja" />)",
            R"(<part file="../parts/extra.grdp" /><part file="./app_part.grdp" /><part />)" +
                message("IDS_SAVE", "&amp;Save") + message("IDS_PRINT", "Print (&amp;P)") +
                R"(<message name="IDS_FIXED" use_name_for_id="true" translateable="false">Fixed</message>)" +
                message("IDS_UNTRANSLATED", "Nothing")));
    repos.chromiumFile("chrome/parts/extra.grdp", "<grit-part>" + message("IDS_SAVE", "Save from a part") +
                                                      message("IDS_CUT", "Cut &amp;&amp; Copy") +
                                                      "</grit-part>");
    repos.chromiumFile("chrome/app/app_part.grdp",
                       "<grit-part>" + message("IDS_CLOSE", "Close") + "</grit-part>");
    repos.chromiumFile("chrome/app/resources/generated_de.xtb",
                       xtb(translation("IDS_SAVE", "&amp;Speichern") +
                           translation("IDS_PRINT", "Drucken (&amp;P)") +
                           translation("IDS_CUT", "Ausschneiden &amp;&amp; Kopieren") +
                           translation("IDS_CLOSE", "Schließen") + translation("IDS_GONE", "Entfernt")));
    repos.chromiumFile("chrome/app/resources/generated_fr.xtb",
                       xtb(translation("IDS_SAVE", "&amp;Enregistrer")));
    repos.chromiumFile("components/components_strings.grd",
                       grd(R"(<file path="../components/strings/components_de.xtb" lang="de" />
                              <file path="../components/strings/components_fr.xtb" lang="fr" />)",
                           message("IDS_OK", "OK")));
    repos.chromiumFile("components/strings/components_de.xtb", xtb(translation("IDS_OK", "OK")));
    repos.chromiumFile("components/strings/components_fr.xtb", xtb(translation("IDS_OK", "D'accord")));
}

inline std::string androidStrings(const std::string& body) {
    return R"(<?xml version="1.0" encoding="utf-8"?><resources>)" + body + "</resources>";
}

inline std::string androidString(const std::string& name, const std::string& text) {
    return R"(<string name=")" + name + R"(">)" + text + "</string>";
}

// The framework's core resources and the Settings app translate German; only Settings translates French.
inline void serveAndroid(ReferenceRepositories& repos) {
    const std::string english = androidStrings(androidString("cancel", "Cancel") + androidString("ok", "OK") +
                                               androidString("only_english", "Alone"));
    for (const auto& [repository, folder] : {std::pair{"platform/frameworks/base", "core/res/res"},
                                             std::pair{"platform/packages/apps/Settings", "res"}}) {
        repos.androidFolder(repository, folder, "values",
                            {fileEntry("strings.xml", english), fileEntry("config.xml", "<broken")});
    }
    repos.androidFolder("platform/frameworks/base", "core/res/res", "values-de",
                        {fileEntry("strings.xml", androidStrings(androidString("cancel", "Abbrechen") +
                                                                 androidString("only_german", "Allein"))),
                         fileEntry("donottranslate-cldr.xml", "<broken"), fileEntry("config.xml", "<broken"),
                         fileEntry("arrays.xml", androidStrings(androidString("cancel", "Ohne Englisch")))});
    for (const std::string code : {"de", "fr"})
        repos.androidFolder(
            "platform/packages/apps/Settings", "res", "values-" + code,
            {fileEntry("strings.xml",
                       androidStrings(androidString("cancel", code == "de" ? "Abbrechen" : "Annuler")))});
}

inline std::string changesets(const std::string& code, const std::string& revision) {
    return R"({")" + code + R"(": {"revision": ")" + revision +
           R"(", "platforms": ["linux"]}, "xx": {"platforms": []}})";
}

// Firefox in German and French, Thunderbird in German.
inline void serveMozilla(ReferenceRepositories& repos) {
    const std::string firefox(ReferenceRepositories::firefoxRelease);
    const std::string thunderbird(ReferenceRepositories::thunderbirdRelease);
    repos.serve(firefox + "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json",
                R"({"de": {"revision": "d1"}, "fr": {"revision": "f1"}})");
    repos.serve(thunderbird + "raw-file/THUNDERBIRD_60_0_RELEASE/mail/locales/l10n-changesets.json",
                changesets("de", "t1"));
    const auto english = [&](const std::string& release, const std::string& folder,
                             const std::map<std::string, std::string>& files) {
        repos.serve(release + "archive/" + (release == firefox ? "FIREFOX" : "THUNDERBIRD") +
                        "_60_0_RELEASE.zip/" + folder + "/locales/en-US/",
                    ReferenceRepositories::mozillaZip("release-1a2b", files));
    };
    english(firefox, "browser",
            {{"browser/locales/en-US/chrome/browser/browser.dtd",
              R"(<!ENTITY reloadCmd.label "Reload"> <!ENTITY reloadCmd.accesskey "R">
                 <!ENTITY onlyEnglish.label "Alone">)"},
             {"browser/other/chrome/browser/browser.dtd", R"(<!ENTITY reloadCmd.label "Outside">)"}});
    english(firefox, "toolkit",
            {{"toolkit/locales/en-US/chrome/global/dialog.properties",
              "button-accept=OK\nhotkey=Hot key\nfind.key=F\nopenCmd.commandkey=O\nmenu.accesskey=M\n"
              "reloadCmd.label=Reload\n"}});
    english(firefox, "dom", {});
    english(
        thunderbird, "mail",
        {{"mail/locales/en-US/chrome/messenger/messenger.dtd", R"(<!ENTITY getMsg.label "Get Messages">)"}});
    repos.localeArchive(
        "de", "d1",
        {{"browser/chrome/browser/browser.dtd",
          R"(<!ENTITY reloadCmd.label "Neu laden"> <!ENTITY reloadCmd.accesskey "N">)"},
         {"toolkit/chrome/global/dialog.properties",
          "button-accept=OK\nhotkey=Taste\nfind.key=S\nopenCmd.commandkey=F\nmenu.accesskey=M\n"
          "reloadCmd.label=Neu laden\nonlyGerman=Allein\n"}});
    repos.localeArchive(
        "fr", "f1", {{"browser/chrome/browser/browser.dtd", R"(<!ENTITY reloadCmd.label "Actualiser">)"}});
    repos.localeArchive(
        "de", "t1",
        {{"mail/chrome/messenger/messenger.dtd", R"(<!ENTITY getMsg.label "Nachrichten abrufen">)"}});
}

inline std::string poCatalogue(const std::string& entries) {
    return "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" + entries;
}

// German only: one listing of interface, help and dictionary catalogues.
inline void serveLibreOffice(ReferenceRepositories& repos) {
    repos.libreOfficeListing("de", R"({"sha": "1", "truncated": false, "tree": [
        {"path": "sw", "type": "tree"},
        {"path": "sw/messages.po", "type": "blob"},
        {"path": "cui/messages.po", "type": "blob"},
        {"path": "helpcontent2/source/text/shared.po", "type": "blob"},
        {"path": "dictionaries/de.po", "type": "blob"},
        {"path": "folder.po", "type": "tree"},
        {"path": "readme.txt", "type": "blob"},
        {"path": "sw/../../../secret.po", "type": "blob"},
        {"path": 7, "type": "blob"}]})");
    repos.libreOfficeFile(
        "de", "sw/messages.po",
        poCatalogue("msgctxt \"STR_OPEN\"\nmsgid \"~Open\"\nmsgstr \"Ö~ffnen\"\n\n"
                    "msgid \"Save _As\"\nmsgstr \"Speichern _unter\"\n\n"
                    "msgid \"%1 page\"\nmsgid_plural \"%1 pages\"\n"
                    "msgstr[0] \"%1 Seite\"\nmsgstr[1] \"%1 Seiten\"\nmsgstr[2] \"%1 Seiten!\"\n"));
    repos.libreOfficeFile("de", "cui/messages.po", poCatalogue("msgid \"Cancel\"\nmsgstr \"Abbrechen\"\n"));
}

inline void serveVlc(ReferenceRepositories& repos) {
    repos.vlcCatalogue(
        "de", poCatalogue("msgctxt \"menu\"\nmsgid \"&Open\"\nmsgstr \"Ö&ffnen\"\n\n"
                          "msgid \"Cancel\"\nmsgstr \"Abbrechen\"\n\n"
                          "msgid \"Cancel\"\nmsgstr \"Abbrechen\"\n\n"
                          "msgid \"Blank\"\nmsgstr \" \"\n\n"
                          "msgid \"%d file\"\nmsgid_plural \"%d files\"\n"
                          "msgstr[0] \"%d Datei\"\nmsgstr[1] \"%d Dateien\"\nmsgstr[2] \"%d Dateien.\"\n"));
    repos.vlcCatalogue("fr", poCatalogue("msgid \"Cancel\"\nmsgstr \"Annuler\"\n"));
}

inline void serveAllProjects(ReferenceRepositories& repos) {
    serveChromium(repos);
    serveAndroid(repos);
    serveMozilla(repos);
    serveLibreOffice(repos);
    serveVlc(repos);
}

} // namespace orvel::testing
