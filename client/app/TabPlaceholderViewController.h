#pragma once

#include "client/bluetooth/MasterViewController.h"

#include <string>

namespace kelpa {

// A tab whose screen is still to come: its title and a line saying so. It is a base screen
// like the ones it stands in for, so join requests are answered on it too.
class TabPlaceholderViewController : public MasterViewController {
public:
    explicit TabPlaceholderViewController(std::string title) { setTitle(std::move(title)); }
    const char* className() const override { return "TabPlaceholderViewController"; }
    void loadView() override;
};

}  // namespace kelpa
