#pragma once

#include "platform/NotificationCenter.h"
#include "platform/bluetooth/MutableCharacteristic.h"
#include "platform/bluetooth/PeripheralManager.h"
#include "platform/bluetooth/PeripheralManagerDelegate.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>

namespace kelpa {

class Group;

// The base of most screens: it advertises the group to advertise over Bluetooth LE while its
// leader wants it found, and answers join requests the service relays from nearby phones.
class MasterViewController : public platform::ui::ViewController, public platform::PeripheralManagerDelegate {
public:
    const char* className() const override { return "MasterViewController"; }

    // The group this device advertises; process-wide, outliving every screen.
    static std::shared_ptr<Group> getGroupToAdvertise();
    static void setGroupToAdvertise(std::shared_ptr<Group> group);

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    void startAdvertising();
    void stopAdvertising();
    // Stops the advertising of every loaded screen: this device is found by nobody.
    static void stopAdvertisingEverywhere();
    void setupService();
    void bluetoothJoinRequested(const platform::Notification& notification);

    void peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) override;
    void didAddService(platform::PeripheralManager& peripheral, const platform::MutableService& service,
                       std::optional<std::string> error) override;

    std::shared_ptr<platform::PeripheralManager> peripheralManager;
    std::shared_ptr<platform::MutableCharacteristic> customCharacteristic;

private:
    // Whether this screen is the one to handle a relayed join request: of the loaded screens,
    // the one that appeared most recently (or, before any appeared, the one loaded last).
    bool handlesJoinRequests() const;
    void inviteRequester(const std::shared_ptr<class User>& requester);

    std::uint64_t loadedOrder_ = 0;
    std::uint64_t appearedOrder_ = 0;
};

}  // namespace kelpa
