#include "platform/ui/TextField.h"

namespace kelpa::platform::ui {

void TextField::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    changed();
}

void TextField::setPlaceholder(std::string placeholder) {
    if (placeholder_ == placeholder) return;
    placeholder_ = std::move(placeholder);
    changed();
}

void TextField::setSecureTextEntry(bool secure) {
    if (secure_ == secure) return;
    secure_ = secure;
    changed();
}

bool TextField::becomeFirstResponder() {
    if (editing_) return true;
    if (!isEnabled() || isHidden()) return false;
    editing_ = true;
    changed();
    if (auto delegate = delegate_.lock()) delegate->textFieldDidBeginEditing(*this);
    return true;
}

bool TextField::resignFirstResponder() {
    if (!editing_) return false;
    editing_ = false;
    changed();
    if (auto delegate = delegate_.lock()) delegate->textFieldDidEndEditing(*this);
    return true;
}

}  // namespace kelpa::platform::ui
