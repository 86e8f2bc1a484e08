#pragma once
// How a view opens a web address: in the person's default browser, or, in tests, wherever the test
// records it.

#include <QUrl>

#include <functional>

namespace orvel {

using UrlOpener = std::function<void(const QUrl&)>;

// Hands the address to the desktop, which opens it in the default browser.
void openInBrowser(const QUrl& address);

} // namespace orvel
