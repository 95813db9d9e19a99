#pragma once

#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/PeripheralManager.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kelpa::testing {

inline const std::string kServiceText = "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01";
inline const std::string kCharacteristicText = "4A56B824-924F-4112-B6DE-2A3E51588D96";

inline platform::BluetoothUUID kelpaService() { return platform::BluetoothUUID::UUIDWithString(kServiceText); }

inline std::shared_ptr<platform::MutableService> makeKelpaService() {
    using platform::MutableCharacteristic;
    auto characteristic = MutableCharacteristic::initWithType(
        platform::BluetoothUUID::UUIDWithString(kCharacteristicText), MutableCharacteristic::propertyNotify,
        std::nullopt, MutableCharacteristic::permissionReadable);
    auto service = platform::MutableService::initWithType(kelpaService(), true);
    service->setCharacteristics({characteristic});
    return service;
}

// Advertises as the app does: adds the service at every powered-on report and advertises the
// name once the service is in. With `automatic` off it only records.
class Advertiser : public platform::PeripheralManagerDelegate {
public:
    explicit Advertiser(std::string name, bool automatic = true) : name(std::move(name)), automatic(automatic) {}

    static std::shared_ptr<Advertiser> start(std::string name, bool automatic = true) {
        auto advertiser = std::make_shared<Advertiser>(std::move(name), automatic);
        advertiser->manager = platform::PeripheralManager::initWithDelegate(advertiser);
        return advertiser;
    }

    void advertise() {
        manager->startAdvertising({{platform::CBAdvertisementDataLocalNameKey, name},
                                   {platform::CBAdvertisementDataServiceUUIDsKey, services}});
    }

    void peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) override {
        states.push_back(peripheral.state());
        if (automatic && peripheral.state() == platform::ManagerState::poweredOn) peripheral.addService(makeKelpaService());
    }

    void didAddService(platform::PeripheralManager&, const platform::MutableService& service,
                       std::optional<std::string> error) override {
        addedServices.push_back(service.type.UUIDString());
        addResults.push_back(error);
        if (automatic && !error) advertise();
    }

    std::string name;
    bool automatic;
    // Lower case in braces: what the scanner receives must still be the phone's form.
    std::vector<platform::BluetoothUUID> services{platform::BluetoothUUID::UUIDWithString("{7b0fcd68-a8de-4a6a-a62e-5344074f3d01}")};
    std::shared_ptr<platform::PeripheralManager> manager;
    std::vector<platform::ManagerState> states;
    std::vector<std::string> addedServices;
    std::vector<std::optional<std::string>> addResults;
};

struct Discovery {
    platform::Peripheral peripheral;
    platform::AdvertisementData data;
    int rssi = 0;

    std::optional<std::string> name() const {
        auto it = data.find(platform::CBAdvertisementDataLocalNameKey);
        if (it == data.end() || !it->second.text()) return std::nullopt;
        return *it->second.text();
    }
};

// Scans as the app does: at the first powered-on report (every one with `rescan`), stopping
// any scan first.
class Scanner : public platform::CentralManagerDelegate {
public:
    static std::shared_ptr<Scanner> start(std::optional<std::vector<platform::BluetoothUUID>> services = std::nullopt,
                                          platform::ScanOptions options = {}, bool rescan = true) {
        auto scanner = std::make_shared<Scanner>();
        scanner->services = std::move(services);
        scanner->options = options;
        scanner->rescan = rescan;
        scanner->manager = platform::CentralManager::initWithDelegate(scanner);
        return scanner;
    }

    void centralManagerDidUpdateState(platform::CentralManager& central) override {
        states.push_back(central.state());
        threads.push_back(std::this_thread::get_id());
        if (central.state() != platform::ManagerState::poweredOn || (scanned && !rescan)) return;
        scanned = true;
        central.stopScan();
        central.scanForPeripheralsWithServices(services, options);
    }

    void didDiscoverPeripheral(platform::CentralManager&, const platform::Peripheral& peripheral,
                               const platform::AdvertisementData& data, int RSSI) override {
        discoveries.push_back(Discovery{peripheral, data, RSSI});
        threads.push_back(std::this_thread::get_id());
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& discovery : discoveries) out.push_back(discovery.name().value_or("<none>"));
        return out;
    }

    std::optional<std::vector<platform::BluetoothUUID>> services;
    platform::ScanOptions options;
    bool rescan = true;
    bool scanned = false;
    std::shared_ptr<platform::CentralManager> manager;
    std::vector<platform::ManagerState> states;
    std::vector<Discovery> discoveries;
    std::vector<std::thread::id> threads;
};

}  // namespace kelpa::testing
