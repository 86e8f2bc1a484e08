// Scenes of the new-language sheet.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/NewLanguageSheet.h"

#include <QLineEdit>
#include <QListWidget>

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

} // namespace

} // namespace orvel
