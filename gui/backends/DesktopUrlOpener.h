#pragma once

#include "platform/ui/UrlOpener.h"

#include <string>

namespace kelpa::platform::ui {

// Hands URLs to the desktop (the browser, a maps site) through QDesktopServices. Needs a
// QGuiApplication; call on its thread.
class DesktopUrlOpener : public UrlOpener {
public:
    // False, with a log line, when the text is no URL or the desktop would not open it.
    bool openURL(const std::string& url) override;
};

}  // namespace kelpa::platform::ui
