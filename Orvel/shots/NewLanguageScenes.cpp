// Scenes of the new-language sheet.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/NewLanguageSheet.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace orvel {

namespace {

// Searching "ger" with German chosen; the app has English already.
std::unique_ptr<QWidget> buildSearching() {
    auto sheet =
        std::make_unique<NewLanguageSheet>(std::vector<std::string>{"en"}, NewLanguageSheet::Create());
    sheet->findChild<QLineEdit*>("languageSearch")->setText(QStringLiteral("ger"));
    const std::vector<std::string> shown = sheet->shownCodes();
    auto* list = sheet->findChild<QListWidget*>("languageList");
    for (std::size_t row = 0; row < shown.size(); ++row)
        if (shown[row] == "de")
            list->item(static_cast<int>(row))->setSelected(true);
    return sheet;
}

const ShotSceneRegistration searchingScene{
    "new-language-search", {NewLanguageSheet::sheetWidth, NewLanguageSheet::sheetHeight}, &buildSearching};

// No search, the list scrolled to its end, where the names in scripts other than Latin, Greek and
// Cyrillic sort, with Traditional Chinese chosen.
std::unique_ptr<QWidget> buildOtherScripts() {
    auto sheet =
        std::make_unique<NewLanguageSheet>(std::vector<std::string>{"en"}, NewLanguageSheet::Create());
    const std::vector<std::string> shown = sheet->shownCodes();
    auto* list = sheet->findChild<QListWidget*>("languageList");
    for (std::size_t row = 0; row < shown.size(); ++row)
        if (shown[row] == "zh-Hant")
            list->item(static_cast<int>(row))->setSelected(true);
    // The list knows its height once it is shown.
    QTimer::singleShot(0, list, [list] { list->scrollToBottom(); });
    return sheet;
}

const ShotSceneRegistration otherScriptsScene{"new-language-other-scripts",
                                              {NewLanguageSheet::sheetWidth, NewLanguageSheet::sheetHeight},
                                              &buildOtherScripts};

} // namespace

} // namespace orvel
