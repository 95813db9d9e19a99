#pragma once

#include <string>
#include <vector>

namespace kelpa::platform::ui {

// Hands a URL to another application (the browser, a maps application).
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openURL(const std::string& url) = 0;
};

// Keeps what it was asked to open: headless runs and tests.
class RecordingUrlOpener : public UrlOpener {
public:
    bool openURL(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

}  // namespace kelpa::platform::ui
