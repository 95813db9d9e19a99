#include "gui/adapters/TextFieldAdapter.h"

#include "platform/ui/TextField.h"

namespace kelpa::gui {

using platform::ui::TextField;

QString TextFieldAdapter::text() const {
    auto field = as<TextField>();
    return field ? QString::fromStdString(field->text()) : QString();
}

QString TextFieldAdapter::placeholder() const {
    auto field = as<TextField>();
    return field ? QString::fromStdString(field->placeholder()) : QString();
}

bool TextFieldAdapter::isSecure() const {
    auto field = as<TextField>();
    return field && field->isSecureTextEntry();
}

bool TextFieldAdapter::isEditing() const {
    auto field = as<TextField>();
    return field && field->isEditing();
}

bool TextFieldAdapter::setText(const QString& text) {
    auto field = as<TextField>();
    if (!field || !usable()) return false;
    field->becomeFirstResponder();
    field->setText(text.toStdString());
    return true;
}

bool TextFieldAdapter::beginEditing() {
    auto field = as<TextField>();
    return field && usable() && field->becomeFirstResponder();
}

void TextFieldAdapter::endEditing() {
    if (auto field = as<TextField>()) field->resignFirstResponder();
}

}  // namespace kelpa::gui
