#pragma once

#include "platform/MainQueue.h"
#include "platform/bluetooth/BluetoothRadio.h"
#include "platform/bluetooth/BluetoothUUID.h"
#include "platform/bluetooth/CentralManagerDelegate.h"
#include "platform/bluetooth/ManagerState.h"
#include "platform/bluetooth/ScanOptions.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelpa::platform {

// The central role: scans the environment's radio for advertisements. The delegate is held
// weakly; its callbacks run on the main queue captured at creation, never synchronously inside
// a call. Right after creation the manager reports its state once, and again on every change of
// the radio's state. Without a radio the state is unsupported.
class CentralManager : public std::enable_shared_from_this<CentralManager> {
public:
    static std::shared_ptr<CentralManager> initWithDelegate(std::weak_ptr<CentralManagerDelegate> delegate);
    ~CentralManager();
    CentralManager(const CentralManager&) = delete;
    CentralManager& operator=(const CentralManager&) = delete;

    ManagerState state() const { return state_; }

    // No services (or an empty list) means every advertiser; otherwise advertisers of at least
    // one of them. Without duplicates each advertisement (advertiser and contents) is reported
    // once per scan, and again when it changes. Scanning while not powered on reports nothing
    // until power returns, then goes on. A new scan replaces the running one.
    void scanForPeripheralsWithServices(std::optional<std::vector<BluetoothUUID>> services,
                                        ScanOptions options = {});
    void stopScan();
    bool isScanning() const { return scanning_; }

private:
    CentralManager(std::weak_ptr<CentralManagerDelegate> delegate, std::shared_ptr<BluetoothRadio> radio,
                   std::shared_ptr<MainQueue> mainQueue);
    void attach();
    void radioStateChanged(ManagerState state);
    void reportState();
    void discovered(const RadioDiscovery& discovery);
    bool passesFilter(const RadioAdvertisement& advertisement) const;

    const std::weak_ptr<CentralManagerDelegate> delegate_;
    const std::shared_ptr<BluetoothRadio> radio_;
    const std::shared_ptr<MainQueue> mainQueue_;
    BluetoothRadio::ClientId client_ = 0;
    ManagerState state_;
    bool scanning_ = false;
    std::optional<std::vector<BluetoothUUID>> services_;
    ScanOptions options_;
    // Advertisements reported in this scan, by advertiser and contents.
    std::set<std::string> reported_;
    // Drops reports of a scan that a newer one or stopScan replaced.
    std::uint64_t scanGeneration_ = 0;
};

}  // namespace kelpa::platform
