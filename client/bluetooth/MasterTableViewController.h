#pragma once

#include "client/bluetooth/MasterViewController.h"

namespace kelpa {

// The base of the table screens; it adds nothing to its base.
class MasterTableViewController : public MasterViewController {
public:
    const char* className() const override { return "MasterTableViewController"; }
};

}  // namespace kelpa
