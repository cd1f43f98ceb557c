// Opening a web address in the user's browser, behind a seam that tests
// replace. The intro window's "Home Page" button calls OpenUrl; the desktop
// decides which browser opens, and a failure to open is not reported.
#pragma once

#include <QUrl>

#include <functional>

namespace brakkon {

using UrlOpener = std::function<void(const QUrl& url)>;

/// Opens `url` through the installed opener (the desktop's when none is set).
void OpenUrl(const QUrl& url);

/// Installs an opener and returns the one it replaces; an empty one restores the desktop's.
UrlOpener SetUrlOpener(UrlOpener opener);

} // namespace brakkon
