#pragma once

#include "platform/ui/Control.h"

#include <string>

namespace kelpa::platform::ui {

class Button : public Control {
public:
    enum class Type { system, detailDisclosure, checkBox };

    explicit Button(std::string name = {}, Type type = Type::system);
    static std::shared_ptr<Button> buttonWithType(Type type);
    const char* kind() const override { return "Button"; }

    Type buttonType() const { return type_; }
    // The title of the normal state.
    const std::string& titleForState() const { return title_; }
    void setTitle(std::string title);

    // A button laid out to fire a storyboard segue; the screen's segue machinery runs it.
    const std::string& segueIdentifier() const { return segue_; }
    void setSegueIdentifier(std::string identifier) { segue_ = std::move(identifier); }

    // A tap: the primary actions, when enabled and visible.
    void tap() { sendActionsForControlEvents(Event::primaryAction); }

protected:
    std::string ownTitle() const override { return title_; }

private:
    Type type_;
    std::string title_;
    std::string segue_;
};

}  // namespace kelpa::platform::ui
