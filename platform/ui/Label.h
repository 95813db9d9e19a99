#pragma once

#include "platform/ui/View.h"

namespace kelpa::platform::ui {

class Label : public View {
public:
    using View::View;
    const char* kind() const override { return "Label"; }

    const std::string& text() const { return text_; }
    void setText(std::string text);

protected:
    std::string ownTitle() const override { return text_; }

private:
    std::string text_;
};

}  // namespace kelpa::platform::ui
