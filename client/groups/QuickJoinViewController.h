#pragma once

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

// Joins a group by its two secret words, without an invitation.
class QuickJoinViewController : public platform::ui::ViewController {
public:
    const char* className() const override { return "QuickJoinViewController"; }

    void loadView() override;
    void touchesBegan() override;

    void join();

    std::shared_ptr<platform::ui::TextField> wordOne;
    std::shared_ptr<platform::ui::TextField> wordTwo;
    std::shared_ptr<platform::ui::Button> joinButton;
    std::shared_ptr<platform::ui::ActivityIndicatorView> status;
};

}  // namespace kelpa
