#pragma once

#include "platform/bluetooth/BluetoothRadio.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>

#include <memory>

namespace kelpa::platform {

// The machine's Bluetooth LE adapter. Scans run through QtBluetooth's discovery agent (BlueZ
// underneath); advertisements and GATT services are objects the app exports on the system bus
// and registers with BlueZ's LEAdvertisingManager1 and GattManager1, since Qt 6.4's own
// peripheral role needs root. The state follows the adapter: present and powered is powered
// on, present and off is powered off, no adapter is unsupported, and a refusal by the bus or
// BlueZ makes it unauthorized.
//
// Create and destroy it on the Qt thread that drives the main queue: Qt's objects live there.
// The methods may be called from any thread (as the radio interface says); Qt work then hops to
// that thread.
class BlueZRadio : public BluetoothRadio {
public:
    // Error texts the completions carry when BlueZ is never asked.
    static constexpr const char* notPoweredOn = "Bluetooth is not powered on";
    static constexpr const char* cannotAdvertise = "this Bluetooth adapter cannot advertise";

    // The first adapter of the machine, over the system bus. Without one the radio is
    // unsupported and says so in one log line.
    BlueZRadio();
    // The adapter object `adapterPath` of the BlueZ named `service` on `connection`, in the
    // given state until setState: for a stand-in BlueZ in tests. It does not scan.
    BlueZRadio(QDBusConnection connection, QString service, QDBusObjectPath adapterPath, ManagerState state);
    ~BlueZRadio() override;
    BlueZRadio(const BlueZRadio&) = delete;
    BlueZRadio& operator=(const BlueZRadio&) = delete;

    // Whether the machine has an adapter at all; the app falls back to a simulated radio.
    static bool adapterPresent();

    // A change of the adapter (the radio follows its power by itself). Leaving powered on ends
    // every advertisement and service; scans go on when power returns.
    void setState(ManagerState state);

    ManagerState state() const override;
    ClientId connect(std::shared_ptr<MainQueue> queue, StateHandler onState) override;
    void disconnect(ClientId client) override;
    void addService(ClientId client, const MutableService& service, Completion done) override;
    void startAdvertising(ClientId client, const RadioAdvertisement& advertisement, Completion done) override;
    void stopAdvertising(ClientId client) override;
    void startScan(ClientId client, DiscoveryHandler onDiscovery) override;
    void stopScan(ClientId client) override;

private:
    struct Shared;

    // Shared with the tasks the radio posts and queues, which may outlive it.
    const std::shared_ptr<Shared> shared_;
};

}  // namespace kelpa::platform
