#pragma once

#include "client/service/DateFormat.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// Small things the screens share.
class ScreenSupport {
public:
    // A screen of the storyboard "Main", or none.
    static std::shared_ptr<platform::ui::ViewController> mainScreen(const std::string& identifier);
    // An alert with one default-style "OK" button, presented animated from `from`.
    static void presentOK(platform::ui::ViewController& from, const std::string& title, const std::string& message,
                          std::function<void()> onOK = nullptr);
    // The outcome of making a group, shown on `screen`: code 0 the two secret words (once, never
    // again), 1 or 2 "Failed"; either alert's "OK" returns to the root of the screen's navigation.
    // Other codes show nothing.
    static void presentGroupCreated(const std::shared_ptr<platform::ui::ViewController>& screen, std::int32_t code,
                                    const std::optional<std::string>& wordOne, const std::optional<std::string>& wordTwo);
    // A text field laid out in `parent`; its placeholder is also its accessible name.
    static std::shared_ptr<platform::ui::TextField> addField(platform::ui::View& parent, const std::string& name,
                                                            const std::string& placeholder, bool secure = false);
    // The day of a date in the medium style and no time ("Mar 2, 2026"), in local time.
    static std::string mediumDate(Date date);
    // The operating system's version as a number (0 when unreadable).
    static double systemVersion();
};

}  // namespace kelpa
