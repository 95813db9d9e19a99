#pragma once

#include "platform/ui/Control.h"

#include <memory>
#include <string>

namespace kelpa::platform::ui {

class TextField;

class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual void textFieldDidBeginEditing(TextField&) {}
    virtual void textFieldDidEndEditing(TextField&) {}
};

class TextField : public Control {
public:
    using Control::Control;
    const char* kind() const override { return "TextField"; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure);
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }

    // Editing, as a tap into the field and a tap elsewhere (or endEditing) do it.
    bool isEditing() const { return editing_; }
    bool becomeFirstResponder();
    bool resignFirstResponder();

protected:
    std::string ownTitle() const override { return placeholder_; }
    bool resignEditing() override { return resignFirstResponder(); }

private:
    std::string text_;
    std::string placeholder_;
    bool secure_ = false;
    bool editing_ = false;
    std::weak_ptr<TextFieldDelegate> delegate_;
};

}  // namespace kelpa::platform::ui
