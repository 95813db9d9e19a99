#pragma once

#include "platform/MainQueue.h"
#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/BluetoothRadio.h"
#include "platform/bluetooth/ManagerState.h"
#include "platform/bluetooth/MutableService.h"
#include "platform/bluetooth/PeripheralManagerDelegate.h"

#include <cstdint>
#include <memory>

namespace kelpa::platform {

// The peripheral role: publishes services and advertises on the environment's radio.
// The delegate is held weakly; its callbacks run on the main queue captured at creation,
// never synchronously inside a call. Right after creation the manager reports its state once,
// and again on every change of the radio's state. Without a radio the state is unsupported.
class PeripheralManager : public std::enable_shared_from_this<PeripheralManager> {
public:
    static std::shared_ptr<PeripheralManager> initWithDelegate(std::weak_ptr<PeripheralManagerDelegate> delegate);
    // A released manager stops advertising.
    ~PeripheralManager();
    PeripheralManager(const PeripheralManager&) = delete;
    PeripheralManager& operator=(const PeripheralManager&) = delete;

    // The state last reported to the delegate (or about to be, right after creation).
    ManagerState state() const { return state_; }
    // True from startAdvertising while powered on, until stopAdvertising, a failed start or a
    // change away from powered on.
    bool isAdvertising() const { return advertising_; }

    // Reports didAddService; an error when not powered on.
    void addService(std::shared_ptr<MutableService> service);
    // Advertises the local name and service UUIDs of the dictionary; other keys are ignored.
    // Does nothing unless powered on.
    void startAdvertising(const AdvertisementData& data);
    void stopAdvertising();

private:
    PeripheralManager(std::weak_ptr<PeripheralManagerDelegate> delegate, std::shared_ptr<BluetoothRadio> radio,
                      std::shared_ptr<MainQueue> mainQueue);
    void attach();
    void radioStateChanged(ManagerState state);
    void reportState();

    const std::weak_ptr<PeripheralManagerDelegate> delegate_;
    const std::shared_ptr<BluetoothRadio> radio_;
    const std::shared_ptr<MainQueue> mainQueue_;
    BluetoothRadio::ClientId client_ = 0;
    ManagerState state_;
    bool advertising_ = false;
    // Tells the answer to the latest start apart from those of starts it replaced.
    std::uint64_t advertisingGeneration_ = 0;
};

}  // namespace kelpa::platform
