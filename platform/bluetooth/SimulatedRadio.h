#pragma once

#include "platform/bluetooth/BluetoothRadio.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>

namespace kelpa::platform {

// A radio without hardware. Every client on one SimulatedRadio object hears the others, even
// when they belong to different environments (each hears on its own queue). Given a directory,
// it also reaches the radios of other processes on this machine: each advertisement is a small
// file there, and scans look at the directory once every poll interval on the scanner's queue
// (so on a virtual clock in tests). A file names the process that wrote it; files of processes
// that have gone are removed by the next scan that finds them.
//
// Legacy advertising carries 31 bytes. Flags take 3 and one 128-bit service UUID 18, so the
// local name travels in the scan response, where 29 bytes remain after its length and type.
// This radio carries names up to 29 bytes and cuts longer ones there (before a character that
// would not fit whole), as a scanner would receive them.
class SimulatedRadio : public BluetoothRadio {
public:
    static constexpr std::size_t maxLocalNameBytes = 29;
    static constexpr std::chrono::seconds pollInterval{1};
    // The signal strength every discovery reports.
    static constexpr int simulatedRSSI = -59;

    // Joins the clients of this object only.
    SimulatedRadio();
    // Joins the clients of this object and of every radio on the same directory.
    explicit SimulatedRadio(std::filesystem::path directory);
    ~SimulatedRadio() override;
    SimulatedRadio(const SimulatedRadio&) = delete;
    SimulatedRadio& operator=(const SimulatedRadio&) = delete;

    // $KELPA_RADIO_DIR, else $XDG_RUNTIME_DIR/kelpa-radio, else /tmp/kelpa-radio-<uid>.
    static std::filesystem::path defaultDirectory();

    const std::optional<std::filesystem::path>& directory() const { return directory_; }

    // Switches the radio off (powered off) or on (powered on). Starts powered on.
    void setPoweredOn(bool on);
    // Any state; leaving powered on ends every advertisement and service and pauses scans,
    // coming back resumes the scans.
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

    const std::optional<std::filesystem::path> directory_;
    // Shared with the tasks the radio posts, which may outlive it.
    const std::shared_ptr<Shared> shared_;
};

}  // namespace kelpa::platform
