#include "Orvel/views/UrlOpener.h"

#include <QDesktopServices>

namespace orvel {

void openInBrowser(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

} // namespace orvel
