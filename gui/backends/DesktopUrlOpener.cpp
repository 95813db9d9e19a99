#include "gui/backends/DesktopUrlOpener.h"

#include "platform/Log.h"

#include <QDesktopServices>
#include <QUrl>

namespace kelpa::platform::ui {

bool DesktopUrlOpener::openURL(const std::string& url) {
    // Strict parsing: the URLs are built by the app, so a malformed one is a fault to see, not
    // something to repair into a different address.
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (url.empty() || !parsed.isValid() || parsed.isRelative()) {
        log("DesktopUrlOpener: not a URL: " + url);
        return false;
    }
    if (!QDesktopServices::openUrl(parsed)) {
        log("DesktopUrlOpener: the desktop did not open " + url);
        return false;
    }
    return true;
}

}  // namespace kelpa::platform::ui
