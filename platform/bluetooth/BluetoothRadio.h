#pragma once

#include "platform/MainQueue.h"
#include "platform/bluetooth/ManagerState.h"
#include "platform/bluetooth/MutableService.h"
#include "platform/bluetooth/RadioAdvertisement.h"
#include "platform/bluetooth/RadioDiscovery.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kelpa::platform {

// The Bluetooth LE hardware under the peripheral and central managers. Each manager is one
// client of the radio; a client has at most one advertisement and one scan at a time.
//
// Every method may be called from any thread. Whatever the radio tells a client runs on the
// queue the client connected with, in the order it happened, and never inside the call that
// caused it. No handler of a client starts after disconnect().
class BluetoothRadio {
public:
    using ClientId = std::uint64_t;
    using StateHandler = std::function<void(ManagerState state)>;
    // No error means the request took effect; otherwise a text saying why not.
    using Completion = std::function<void(std::optional<std::string> error)>;
    using DiscoveryHandler = std::function<void(const RadioDiscovery& discovery)>;

    virtual ~BluetoothRadio() = default;

    // A radio that cannot tell resetting or unauthorised apart reports what it can.
    virtual ManagerState state() const = 0;

    // onState hears every later change of state, not the present one.
    virtual ClientId connect(std::shared_ptr<MainQueue> queue, StateHandler onState) = 0;
    // Ends the client's advertisement, services and scan.
    virtual void disconnect(ClientId client) = 0;

    // Publishes a GATT service; fails unless powered on. Leaving powered-on drops every
    // service, so a client adds its services again when power returns.
    virtual void addService(ClientId client, const MutableService& service, Completion done) = 0;

    // Replaces the client's advertisement. Starting takes time and may fail (done says which);
    // a done of a start that stopAdvertising overtook may still arrive. Leaving powered-on ends
    // every advertisement, which the state change tells; the radio never restarts one.
    virtual void startAdvertising(ClientId client, const RadioAdvertisement& advertisement,
                                  Completion done) = 0;
    virtual void stopAdvertising(ClientId client) = 0;

    // Replaces the client's scan. A scan reports every advertisement it receives, repeats
    // included, and lasts until stopped: while the radio is not powered on it reports nothing,
    // and it goes on by itself when power returns.
    virtual void startScan(ClientId client, DiscoveryHandler onDiscovery) = 0;
    virtual void stopScan(ClientId client) = 0;
};

}  // namespace kelpa::platform
