#include "BluetoothTestDelegates.h"
#include "TestEnvironment.h"

#include "platform/HeadlessMainQueue.h"
#include "platform/bluetooth/SimulatedRadio.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <thread>

using namespace std::chrono_literals;
using kelpa::platform::AdvertisementData;
using kelpa::platform::BluetoothUUID;
using kelpa::platform::CBAdvertisementDataLocalNameKey;
using kelpa::platform::CBAdvertisementDataServiceUUIDsKey;
using kelpa::platform::Environment;
using kelpa::platform::HeadlessMainQueue;
using kelpa::platform::ManagerState;
using kelpa::platform::PeripheralManager;
using kelpa::platform::ScanOptions;
using kelpa::platform::SimulatedRadio;
using kelpa::testing::Advertiser;
using kelpa::testing::kServiceText;
using kelpa::testing::Scanner;
using kelpa::testing::TestEnvironment;

namespace {

struct RadioTest : ::testing::Test {
    RadioTest() { t.env().bluetooth = radio; }

    TestEnvironment t;
    std::shared_ptr<SimulatedRadio> radio = std::make_shared<SimulatedRadio>();
};

// Counts every callback; the count outlives the delegate.
struct CountingDelegate : kelpa::platform::PeripheralManagerDelegate, kelpa::platform::CentralManagerDelegate {
    explicit CountingDelegate(std::shared_ptr<int> calls) : calls(std::move(calls)) {}
    void peripheralManagerDidUpdateState(PeripheralManager&) override { ++*calls; }
    void didAddService(PeripheralManager&, const kelpa::platform::MutableService&, std::optional<std::string>) override {
        ++*calls;
    }
    void centralManagerDidUpdateState(kelpa::platform::CentralManager& central) override {
        ++*calls;
        central.scanForPeripheralsWithServices(std::nullopt);
    }
    void didDiscoverPeripheral(kelpa::platform::CentralManager&, const kelpa::platform::Peripheral&,
                               const AdvertisementData&, int) override {
        ++*calls;
    }
    std::shared_ptr<int> calls;
};

}  // namespace

TEST_F(RadioTest, CentralDiscoversPeripheralOnceWithTheTwoKeysInThePhonesForm) {
    auto advertiser = Advertiser::start("1234");
    auto scanner = Scanner::start();
    t.loop().runFor(10s);

    EXPECT_EQ(advertiser->states, std::vector<ManagerState>{ManagerState::poweredOn});
    EXPECT_EQ(advertiser->addedServices, std::vector<std::string>{kServiceText});
    EXPECT_EQ(advertiser->addResults, std::vector<std::optional<std::string>>{std::nullopt});
    EXPECT_TRUE(advertiser->manager->isAdvertising());
    EXPECT_EQ(scanner->states, std::vector<ManagerState>{ManagerState::poweredOn});
    EXPECT_TRUE(scanner->manager->isScanning());

    ASSERT_EQ(scanner->discoveries.size(), 1u);
    const auto& found = scanner->discoveries[0];
    EXPECT_EQ(found.data.size(), 2u);
    EXPECT_EQ(found.name(), "1234");
    ASSERT_TRUE(found.data.count(CBAdvertisementDataServiceUUIDsKey));
    const auto& services = found.data.at(CBAdvertisementDataServiceUUIDsKey);
    EXPECT_EQ(services.description(), "(\n    " + kServiceText + "\n)");
    EXPECT_FALSE(found.peripheral.identifier.empty());
    EXPECT_EQ(found.rssi, SimulatedRadio::simulatedRSSI);
}

TEST_F(RadioTest, CallbacksNeverRunInsideTheCall) {
    auto advertiser = Advertiser::start("1", false);
    auto scanner = Scanner::start();
    EXPECT_TRUE(advertiser->states.empty());
    EXPECT_TRUE(scanner->states.empty());
    t.loop().runUntilIdle();
    ASSERT_EQ(advertiser->states.size(), 1u);

    advertiser->manager->addService(kelpa::testing::makeKelpaService());
    EXPECT_TRUE(advertiser->addResults.empty());
    advertiser->advertise();
    EXPECT_TRUE(scanner->discoveries.empty());
    t.loop().runUntilIdle();
    EXPECT_EQ(advertiser->addResults.size(), 1u);
    EXPECT_EQ(scanner->discoveries.size(), 1u);
}

TEST_F(RadioTest, ServiceListFiltersAdvertisers) {
    auto kelpa = Advertiser::start("kelpa");
    auto other = Advertiser::start("other");
    other->services = {BluetoothUUID::UUIDWithString("180D")};
    auto nameOnly = Advertiser::start("nameOnly");
    nameOnly->services = {};
    t.loop().runUntilIdle();

    struct Case {
        std::optional<std::vector<BluetoothUUID>> filter;
        std::set<std::string> expected;
    };
    const Case cases[] = {
        {std::nullopt, {"kelpa", "other", "nameOnly"}},
        {std::vector<BluetoothUUID>{}, {"kelpa", "other", "nameOnly"}},
        {std::vector<BluetoothUUID>{BluetoothUUID::UUIDWithString(kServiceText)}, {"kelpa"}},
        {std::vector<BluetoothUUID>{BluetoothUUID::UUIDWithString("0000180d-0000-1000-8000-00805f9b34fb")}, {"other"}},
        {std::vector<BluetoothUUID>{BluetoothUUID::UUIDWithString("180E")}, {}},
        {std::vector<BluetoothUUID>{BluetoothUUID::UUIDWithString("180E"),
                                    BluetoothUUID::UUIDWithString("7b0fcd68-a8de-4a6a-a62e-5344074f3d01")},
         {"kelpa"}},
    };
    for (const auto& c : cases) {
        auto scanner = Scanner::start(c.filter);
        t.loop().runFor(3s);
        auto names = scanner->names();
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), c.expected);
        EXPECT_EQ(names.size(), c.expected.size());
        for (const auto& found : scanner->discoveries) {
            if (found.name() == "nameOnly") {
                EXPECT_EQ(found.data.size(), 1u);  // no empty UUID list
            }
        }
    }
}

TEST_F(RadioTest, ChangedAdvertisementIsReportedAgainAndDuplicatesOnlyWhenAsked) {
    auto advertiser = Advertiser::start("A");
    auto scanner = Scanner::start();
    auto repeating = Scanner::start(std::nullopt, ScanOptions{.allowDuplicates = true});
    t.loop().runFor(5s);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"A"});
    EXPECT_GE(repeating->discoveries.size(), 5u);  // once at the start, then at every poll

    advertiser->advertise();  // the same once more: nothing new
    t.loop().runFor(2s);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"A"});

    advertiser->name = "B";
    advertiser->advertise();
    t.loop().runFor(2s);
    EXPECT_EQ(scanner->names(), (std::vector<std::string>{"A", "B"}));

    // A new scan starts afresh.
    scanner->manager->stopScan();
    EXPECT_FALSE(scanner->manager->isScanning());
    t.loop().runFor(2s);
    EXPECT_EQ(scanner->discoveries.size(), 2u);
    scanner->manager->scanForPeripheralsWithServices(std::nullopt);
    t.loop().runFor(2s);
    EXPECT_EQ(scanner->names(), (std::vector<std::string>{"A", "B", "B"}));
}

TEST_F(RadioTest, EachAdvertiserHasItsOwnStableIdentifier) {
    auto first = Advertiser::start("same");
    auto second = Advertiser::start("same");
    auto scanner = Scanner::start();
    t.loop().runFor(2s);
    ASSERT_EQ(scanner->discoveries.size(), 2u);  // same contents, two advertisers
    const auto firstId = scanner->discoveries[0].peripheral.identifier;
    EXPECT_NE(firstId, scanner->discoveries[1].peripheral.identifier);

    auto& manager = first->manager;
    manager->stopAdvertising();
    first->name = "changed";
    first->advertise();
    t.loop().runFor(2s);
    ASSERT_EQ(scanner->discoveries.size(), 3u);
    EXPECT_EQ(scanner->discoveries[2].name(), "changed");
    EXPECT_EQ(scanner->discoveries[2].peripheral.identifier, firstId);
}

TEST_F(RadioTest, LongNamesAreCutToWhatTheScanResponseCarries) {
    struct Case {
        std::string name;
        std::string received;
    };
    const std::string max(29, '7');
    const Case cases[] = {
        {max, max},
        {max + "89", max},
        {std::string(28, '1') + "\xC3\xA9", std::string(28, '1')},  // "é" would straddle byte 29
        {std::string(27, '1') + "\xC3\xA9", std::string(27, '1') + "\xC3\xA9"},
        {"", ""},
    };
    for (const auto& c : cases) {
        auto advertiser = Advertiser::start(c.name);
        auto scanner = Scanner::start();
        t.loop().runUntilIdle();
        ASSERT_EQ(scanner->discoveries.size(), 1u) << c.name;
        EXPECT_EQ(scanner->discoveries[0].name(), c.received);
    }
}

TEST_F(RadioTest, StatesBeforePowerAreReportedAndRefuseServices) {
    const ManagerState states[] = {ManagerState::unknown, ManagerState::resetting, ManagerState::unsupported,
                                   ManagerState::unauthorized, ManagerState::poweredOff};
    for (auto state : states) {
        radio->setState(state);
        auto advertiser = Advertiser::start("1", false);
        auto scanner = Scanner::start();
        t.loop().runUntilIdle();
        EXPECT_EQ(advertiser->states, std::vector<ManagerState>{state});
        EXPECT_EQ(advertiser->manager->state(), state);
        EXPECT_EQ(scanner->states, std::vector<ManagerState>{state});

        advertiser->manager->addService(kelpa::testing::makeKelpaService());
        advertiser->advertise();
        EXPECT_FALSE(advertiser->manager->isAdvertising());
        t.loop().runUntilIdle();
        ASSERT_EQ(advertiser->addResults.size(), 1u);
        EXPECT_TRUE(advertiser->addResults[0].has_value());
        EXPECT_FALSE(advertiser->addResults[0]->empty());

        // Power arriving later is reported to both; the app then sets up again.
        radio->setPoweredOn(true);
        t.loop().runUntilIdle();
        EXPECT_EQ(advertiser->states, (std::vector<ManagerState>{state, ManagerState::poweredOn}));
        EXPECT_EQ(scanner->states, (std::vector<ManagerState>{state, ManagerState::poweredOn}));
        EXPECT_FALSE(advertiser->manager->isAdvertising());
    }
}

TEST(Bluetooth, WithoutARadioManagersAreUnsupported) {
    TestEnvironment t;
    auto advertiser = Advertiser::start("1");
    auto scanner = Scanner::start();
    t.loop().runFor(3s);
    EXPECT_EQ(advertiser->states, std::vector<ManagerState>{ManagerState::unsupported});
    EXPECT_EQ(scanner->states, std::vector<ManagerState>{ManagerState::unsupported});

    advertiser->manager->addService(kelpa::testing::makeKelpaService());
    advertiser->advertise();
    scanner->manager->scanForPeripheralsWithServices(std::nullopt);
    t.loop().runFor(3s);
    ASSERT_EQ(advertiser->addResults.size(), 1u);
    EXPECT_TRUE(advertiser->addResults[0].has_value());
    EXPECT_FALSE(advertiser->manager->isAdvertising());
    EXPECT_TRUE(scanner->discoveries.empty());
}

TEST_F(RadioTest, PowerOffAndOnReachesBothManagersAndEndsAdvertising) {
    auto app = Advertiser::start("A");
    auto once = Advertiser::start("once", false);  // advertises once, never sets up again
    auto scanner = Scanner::start(std::nullopt, {}, /*rescan=*/false);
    t.loop().runUntilIdle();
    once->advertise();
    t.loop().runFor(2s);
    ASSERT_EQ(scanner->discoveries.size(), 2u);

    radio->setPoweredOn(false);
    t.loop().runFor(5s);
    EXPECT_EQ(app->states, (std::vector<ManagerState>{ManagerState::poweredOn, ManagerState::poweredOff}));
    EXPECT_EQ(scanner->states, (std::vector<ManagerState>{ManagerState::poweredOn, ManagerState::poweredOff}));
    EXPECT_FALSE(app->manager->isAdvertising());
    EXPECT_FALSE(once->manager->isAdvertising());
    EXPECT_TRUE(scanner->manager->isScanning());
    EXPECT_EQ(scanner->discoveries.size(), 2u);

    // The app re-adds its service and advertises a new name; the scan, never restarted,
    // hears it. The one that did not set up again stays off the air.
    app->name = "B";
    radio->setPoweredOn(true);
    t.loop().runFor(5s);
    EXPECT_EQ(app->states, (std::vector<ManagerState>{ManagerState::poweredOn, ManagerState::poweredOff,
                                                       ManagerState::poweredOn}));
    EXPECT_EQ(scanner->states, (std::vector<ManagerState>{ManagerState::poweredOn, ManagerState::poweredOff,
                                                           ManagerState::poweredOn}));
    EXPECT_EQ(app->addResults.size(), 2u);
    EXPECT_TRUE(app->manager->isAdvertising());
    EXPECT_EQ(scanner->names(), (std::vector<std::string>{"A", "once", "B"}));

    auto fresh = Scanner::start();
    t.loop().runFor(2s);
    EXPECT_EQ(fresh->names(), std::vector<std::string>{"B"});
}

TEST_F(RadioTest, PowerSwitchedOffAndOnBeforeTheQueueRunsIsReportedInOrder) {
    auto app = Advertiser::start("A");
    auto scanner = Scanner::start();
    t.loop().runUntilIdle();
    radio->setPoweredOn(false);
    radio->setPoweredOn(true);
    t.loop().runFor(2s);
    const std::vector<ManagerState> expected{ManagerState::poweredOn, ManagerState::poweredOff, ManagerState::poweredOn};
    EXPECT_EQ(app->states, expected);
    EXPECT_EQ(scanner->states, expected);
    EXPECT_TRUE(app->manager->isAdvertising());
    EXPECT_EQ(scanner->names(), (std::vector<std::string>{"A", "A"}));  // the app scans again at power-on
}

TEST_F(RadioTest, ReleasedPeripheralManagerStopsAdvertising) {
    auto advertiser = Advertiser::start("gone");
    auto stays = Advertiser::start("stays");
    t.loop().runUntilIdle();
    advertiser->manager.reset();

    auto scanner = Scanner::start();
    t.loop().runFor(3s);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"stays"});
}

TEST_F(RadioTest, StopAdvertisingTakesTheAdvertisementOffTheAir) {
    auto advertiser = Advertiser::start("1");
    t.loop().runUntilIdle();
    advertiser->manager->stopAdvertising();
    EXPECT_FALSE(advertiser->manager->isAdvertising());
    auto scanner = Scanner::start();
    t.loop().runFor(3s);
    EXPECT_TRUE(scanner->discoveries.empty());
}

TEST_F(RadioTest, ReleasedDelegatesHearNothingAndNothingBreaks) {
    auto calls = std::make_shared<int>(0);
    auto peripheralDelegate = std::make_shared<CountingDelegate>(calls);
    auto centralDelegate = std::make_shared<CountingDelegate>(calls);
    auto peripheral = PeripheralManager::initWithDelegate(peripheralDelegate);
    auto central = kelpa::platform::CentralManager::initWithDelegate(centralDelegate);
    peripheral->addService(kelpa::testing::makeKelpaService());
    central->scanForPeripheralsWithServices(std::nullopt);
    peripheralDelegate.reset();
    centralDelegate.reset();

    auto advertiser = Advertiser::start("1");
    t.loop().runFor(3s);
    radio->setPoweredOn(false);
    radio->setPoweredOn(true);
    t.loop().runFor(3s);
    peripheral->startAdvertising({{CBAdvertisementDataLocalNameKey, "2"}});
    t.loop().runFor(3s);
    EXPECT_EQ(*calls, 0);
    EXPECT_TRUE(peripheral->isAdvertising());  // the manager itself goes on working

    // Managers released with their reports still queued: the living delegate hears nothing.
    auto living = std::make_shared<CountingDelegate>(calls);
    auto shortPeripheral = PeripheralManager::initWithDelegate(living);
    auto shortCentral = kelpa::platform::CentralManager::initWithDelegate(living);
    shortPeripheral->addService(kelpa::testing::makeKelpaService());
    shortPeripheral.reset();
    shortCentral.reset();
    radio->setPoweredOn(false);
    t.loop().runFor(3s);
    EXPECT_EQ(*calls, 0);
}

TEST_F(RadioTest, TheRadioMayGoFirst) {
    auto advertiser = Advertiser::start("1");
    auto scanner = Scanner::start();
    t.loop().runUntilIdle();
    t.env().bluetooth.reset();
    radio.reset();  // the managers still hold it
    t.loop().runFor(3s);
    advertiser.reset();
    scanner.reset();
    t.loop().runFor(3s);
}

TEST(Bluetooth, ManagersInTwoEnvironmentsShareOneRadio) {
    TestEnvironment t;
    auto radio = std::make_shared<SimulatedRadio>();
    t.env().bluetooth = radio;
    auto advertiserA = Advertiser::start("from A");
    auto scannerA = Scanner::start();
    t.loop().runUntilIdle();
    ASSERT_TRUE(advertiserA->manager->isAdvertising());

    // The second app runs on a thread of its own with its own main queue.
    std::promise<void> bReady;
    std::promise<void> bRelease;
    std::vector<std::string> namesInB;
    std::vector<std::thread::id> threadsInB;
    std::thread::id threadB;
    std::thread other([&] {
        threadB = std::this_thread::get_id();
        auto env = std::make_shared<Environment>();
        auto loop = std::make_shared<HeadlessMainQueue>(HeadlessMainQueue::ClockMode::Virtual);
        env->mainQueue = loop;
        env->bluetooth = radio;
        Environment::Scope scope(env);
        auto advertiserB = Advertiser::start("from B");
        auto scannerB = Scanner::start();
        loop->runUntil([&] { return advertiserB->manager->isAdvertising() && scannerB->discoveries.size() >= 2; }, 5s);
        namesInB = scannerB->names();
        threadsInB = scannerB->threads;
        bReady.set_value();
        bRelease.get_future().wait();
        scannerB.reset();
        advertiserB.reset();
        loop->runUntilIdle();
    });
    bReady.get_future().wait();
    t.loop().runUntil([&] { return scannerA->discoveries.size() >= 2; }, 5s);
    bRelease.set_value();
    other.join();

    EXPECT_EQ(std::set<std::string>(namesInB.begin(), namesInB.end()), (std::set<std::string>{"from A", "from B"}));
    ASSERT_FALSE(threadsInB.empty());
    for (auto id : threadsInB) EXPECT_EQ(id, threadB);
    auto namesInA = scannerA->names();
    EXPECT_EQ(std::set<std::string>(namesInA.begin(), namesInA.end()), (std::set<std::string>{"from A", "from B"}));
    for (auto id : scannerA->threads) EXPECT_EQ(id, std::this_thread::get_id());

    // B has gone: its advertisement went with its manager.
    auto late = Scanner::start();
    t.loop().runFor(2s);
    EXPECT_EQ(late->names(), std::vector<std::string>{"from A"});
}
