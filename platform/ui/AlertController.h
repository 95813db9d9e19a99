#pragma once

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelpa::platform::ui {

class AlertAction {
public:
    enum class Style { defaultStyle, cancel, destructive };
    using Handler = std::function<void(AlertAction&)>;

    AlertAction(std::string title, Style style, Handler handler)
        : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}
    static std::shared_ptr<AlertAction> actionWithTitle(std::string title, Style style, Handler handler) {
        return std::make_shared<AlertAction>(std::move(title), style, std::move(handler));
    }

    const std::string& title() const { return title_; }
    Style style() const { return style_; }
    void run() {
        if (handler_) handler_(*this);
    }

private:
    std::string title_;
    Style style_;
    Handler handler_;
};

// A message with buttons, presented over the screen that shows it (which stays visible).
class AlertController : public ViewController {
public:
    enum class Style { actionSheet = 0, alert = 1 };

    AlertController(std::string title, std::string message, Style style)
        : message_(std::move(message)), style_(style) {
        setTitle(std::move(title));
    }
    static std::shared_ptr<AlertController> alertControllerWithTitle(std::string title, std::string message,
                                                                     Style preferredStyle) {
        return std::make_shared<AlertController>(std::move(title), std::move(message), preferredStyle);
    }
    const char* className() const override { return "AlertController"; }
    bool coversPresenter() const override { return false; }

    const std::string& message() const { return message_; }
    Style preferredStyle() const { return style_; }
    void addAction(std::shared_ptr<AlertAction> action) { actions_.push_back(std::move(action)); }
    const std::vector<std::shared_ptr<AlertAction>>& actions() const { return actions_; }

    // A person's choice: the alert goes away, then the action's handler runs. False when the
    // alert has no such action.
    bool choose(const std::string& actionTitle);

private:
    std::string message_;
    Style style_;
    std::vector<std::shared_ptr<AlertAction>> actions_;
};

}  // namespace kelpa::platform::ui
