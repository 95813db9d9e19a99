#pragma once

#include "platform/bluetooth/MutableCharacteristic.h"
#include "platform/bluetooth/PeripheralManager.h"
#include "platform/bluetooth/PeripheralManagerDelegate.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

// Makes the signed-in user findable nearby while a group's creator picks members: advertises
// the user's identifier for as long as the screen lives.
class PeripheralViewController : public platform::ui::ViewController, public platform::PeripheralManagerDelegate {
public:
    const char* className() const override { return "PeripheralViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void setupService();

    void peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) override;
    void didAddService(platform::PeripheralManager& peripheral, const platform::MutableService& service,
                       std::optional<std::string> error) override;

    std::shared_ptr<platform::PeripheralManager> peripheralManager;
    std::shared_ptr<platform::MutableCharacteristic> customCharacteristic;
};

}  // namespace kelpa
