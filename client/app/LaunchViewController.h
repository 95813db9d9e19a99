#pragma once

#include "platform/ui/ViewController.h"

namespace kelpa {

// What the window shows while a stored account signs in again.
class LaunchViewController : public platform::ui::ViewController {
public:
    const char* className() const override { return "LaunchViewController"; }
    void loadView() override;
};

}  // namespace kelpa
