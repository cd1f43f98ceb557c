#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace brakkon {
namespace {

UrlOpener& Installed()
{
    static UrlOpener opener;
    return opener;
}

} // namespace

void OpenUrl(const QUrl& url)
{
    if (Installed()) Installed()(url);
    else QDesktopServices::openUrl(url);
}

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener previous = std::move(Installed());
    Installed() = std::move(opener);
    return previous;
}

} // namespace brakkon
