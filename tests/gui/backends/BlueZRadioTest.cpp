#include "FakeBlueZ.h"
#include "QtTestApplication.h"
#include "TestEnvironment.h"
#include "gui/backends/BlueZRadio.h"
#include "platform/Environment.h"
#include "tests/platform/bluetooth/BluetoothTestDelegates.h"

#include <QDBusError>

#include <gtest/gtest.h>

#include <thread>

namespace kelpa::testing {
namespace {

using platform::BlueZRadio;
using platform::BluetoothRadio;
using platform::ManagerState;
using platform::RadioAdvertisement;

const QString kServiceForBlueZ = QStringLiteral("7b0fcd68-a8de-4a6a-a62e-5344074f3d01");
const QString kCharacteristicForBlueZ = QStringLiteral("4a56b824-924f-4112-b6de-2a3e51588d96");

RadioAdvertisement groupAdvertisement(const std::string& name) {
    return RadioAdvertisement{{kelpaService()}, name};
}

// One client of the radio, recording what it hears.
struct Client {
    std::vector<ManagerState> states;
    std::vector<std::optional<std::string>> results;
    BluetoothRadio::ClientId id = 0;

    BluetoothRadio::Completion record() {
        return [this](std::optional<std::string> error) { results.push_back(std::move(error)); };
    }
};

class BlueZRadioTest : public ::testing::Test {
protected:
    void SetUp() override { ensureQtApplication(); }

    // A radio on the fake BlueZ, powered on, with one client connected.
    void startRadio(ManagerState state = ManagerState::poweredOn) {
        bluez = std::make_unique<FakeBlueZ>();
        radio = std::make_shared<BlueZRadio>(bluez->connect(t), QString::fromLatin1(platform::bluez::service),
                                             QDBusObjectPath(QString::fromLatin1(FakeBlueZ::adapterPath)), state);
        client.id = radio->connect(t.env().mainQueue, [this](ManagerState s) { client.states.push_back(s); });
    }

    bool waitFor(const std::function<bool()>& condition) { return pumpUntil(t, condition); }
    bool resultCount(size_t count) { return waitFor([&] { return client.results.size() >= count; }); }

    // What the app's object at `path` answers to a property read by BlueZ.
    QDBusMessage readAdvertisement(const QString& path) {
        return bluez->callApp(t, path, QString::fromLatin1(platform::bluez::propertiesInterface), QStringLiteral("GetAll"),
                              {QString::fromLatin1(platform::bluez::advertisementInterface)});
    }

    TestEnvironment t;
    std::unique_ptr<FakeBlueZ> bluez;
    std::shared_ptr<BlueZRadio> radio;
    Client client;
};

TEST_F(BlueZRadioTest, WithoutAnAdapterTheRadioIsUnsupportedAndRefusesQuietly) {
    ASSERT_FALSE(BlueZRadio::adapterPresent()) << "this test expects a machine without Bluetooth";
    BlueZRadio radio;
    EXPECT_EQ(radio.state(), ManagerState::unsupported);
    EXPECT_EQ(t.logLines(), std::vector<std::string>{
                                "BlueZRadio: no Bluetooth adapter on this machine; Bluetooth LE is unsupported"});

    Client local;
    local.id = radio.connect(t.env().mainQueue, [&](ManagerState s) { local.states.push_back(s); });
    std::vector<platform::RadioDiscovery> discoveries;
    radio.startScan(local.id, [&](const platform::RadioDiscovery& d) { discoveries.push_back(d); });
    radio.addService(local.id, *makeKelpaService(), local.record());
    radio.startAdvertising(local.id, groupAdvertisement("group"), local.record());
    EXPECT_TRUE(local.results.empty()) << "answers never come inside the call";
    t.loop().runFor(std::chrono::seconds(5));
    EXPECT_EQ(local.results, (std::vector<std::optional<std::string>>{BlueZRadio::notPoweredOn, BlueZRadio::notPoweredOn}));
    EXPECT_TRUE(discoveries.empty());
    EXPECT_TRUE(local.states.empty());
    radio.stopScan(local.id);
    radio.stopAdvertising(local.id);
    radio.disconnect(local.id);
}

TEST_F(BlueZRadioTest, ManagersOverAnAbsentAdapterReportUnsupported) {
    auto radio = std::make_shared<BlueZRadio>();
    t.env().bluetooth = radio;
    auto advertiser = Advertiser::start("group-7");
    auto scanner = Scanner::start();
    t.loop().runUntilIdle();
    EXPECT_EQ(advertiser->states, std::vector<ManagerState>{ManagerState::unsupported});
    EXPECT_EQ(scanner->states, std::vector<ManagerState>{ManagerState::unsupported});
    EXPECT_TRUE(advertiser->addedServices.empty());
}

TEST_F(BlueZRadioTest, AnAdvertisementIsRegisteredAsBlueZReadsIt) {
    startRadio();
    radio->startAdvertising(client.id, groupAdvertisement("group-42"), client.record());
    ASSERT_TRUE(resultCount(1));
    EXPECT_EQ(client.results[0], std::nullopt);

    ASSERT_EQ(bluez->members(), std::vector<QString>{QStringLiteral("RegisterAdvertisement")});
    const auto path = bluez->calls()[0].path;
    ASSERT_EQ(bluez->advertisements().count(path), 1u);
    const auto& read = bluez->advertisements().at(path);
    EXPECT_EQ(read.value(QStringLiteral("Type")).toString(), QStringLiteral("peripheral"));
    EXPECT_EQ(read.value(QStringLiteral("ServiceUUIDs")).toStringList(), QStringList{kServiceForBlueZ});
    EXPECT_EQ(read.value(QStringLiteral("LocalName")).toString(), QStringLiteral("group-42"));
    EXPECT_EQ(read.value(QStringLiteral("Discoverable")), QVariant(true));
    EXPECT_EQ(read.size(), 4);
}

TEST_F(BlueZRadioTest, StoppingUnregistersAndWithdrawsTheObject) {
    startRadio();
    radio->startAdvertising(client.id, groupAdvertisement("group-42"), client.record());
    ASSERT_TRUE(resultCount(1));
    const auto path = bluez->calls()[0].path;

    radio->stopAdvertising(client.id);
    ASSERT_TRUE(waitFor([&] { return bluez->calls().size() == 2; }));
    EXPECT_EQ(bluez->calls()[1].member, QStringLiteral("UnregisterAdvertisement"));
    EXPECT_EQ(bluez->calls()[1].path, path);
    EXPECT_EQ(readAdvertisement(path).type(), QDBusMessage::ErrorMessage);
}

TEST_F(BlueZRadioTest, ANewAdvertisementReplacesTheClientsOld) {
    startRadio();
    radio->startAdvertising(client.id, groupAdvertisement("first"), client.record());
    ASSERT_TRUE(resultCount(1));
    radio->startAdvertising(client.id, groupAdvertisement("second"), client.record());
    ASSERT_TRUE(resultCount(2));

    const auto calls = bluez->calls();
    ASSERT_EQ(bluez->members(), (std::vector<QString>{QStringLiteral("RegisterAdvertisement"),
                                                       QStringLiteral("UnregisterAdvertisement"),
                                                       QStringLiteral("RegisterAdvertisement")}));
    EXPECT_EQ(calls[1].path, calls[0].path);
    EXPECT_NE(calls[2].path, calls[0].path);
    EXPECT_EQ(bluez->advertisements().at(calls[2].path).value(QStringLiteral("LocalName")).toString(),
              QStringLiteral("second"));
}

TEST_F(BlueZRadioTest, RefusalsReachTheCompletionAndPermissionOnesTheState) {
    struct Case {
        const char* errorName;
        std::optional<ManagerState> state;
    };
    for (const auto& c : {Case{"org.bluez.Error.NotPermitted", ManagerState::unauthorized},
                          Case{"org.freedesktop.DBus.Error.AccessDenied", ManagerState::unauthorized},
                          Case{"org.bluez.Error.Failed", std::nullopt},
                          Case{"org.bluez.Error.InvalidLength", std::nullopt}}) {
        SCOPED_TRACE(c.errorName);
        client = Client{};
        startRadio();
        bluez->refuseWith(std::pair{QString::fromLatin1(c.errorName), QStringLiteral("refused by the test")});
        radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
        ASSERT_TRUE(resultCount(1));
        EXPECT_EQ(client.results[0], std::optional<std::string>(std::string("refused by the test (") + c.errorName + ")"));
        if (c.state) {
            EXPECT_EQ(client.states, std::vector<ManagerState>{*c.state});
        } else {
            EXPECT_TRUE(client.states.empty());
        }
        EXPECT_EQ(radio->state(), c.state.value_or(ManagerState::poweredOn));
        // A refused object is not left on the bus.
        EXPECT_EQ(readAdvertisement(bluez->calls()[0].path).type(), QDBusMessage::ErrorMessage);
        radio.reset();
        bluez.reset();
    }
}

TEST_F(BlueZRadioTest, NothingIsAskedOfBlueZWhileNotPoweredOn) {
    startRadio(ManagerState::poweredOff);
    radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
    radio->addService(client.id, *makeKelpaService(), client.record());
    ASSERT_TRUE(resultCount(2));
    EXPECT_EQ(client.results, (std::vector<std::optional<std::string>>{BlueZRadio::notPoweredOn, BlueZRadio::notPoweredOn}));
    EXPECT_TRUE(bluez->calls().empty());
}

TEST_F(BlueZRadioTest, PowerLossEndsAdvertisementsAndServices) {
    startRadio();
    radio->addService(client.id, *makeKelpaService(), client.record());
    radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
    ASSERT_TRUE(resultCount(2));
    ASSERT_EQ(client.results, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));

    radio->setState(ManagerState::poweredOff);
    ASSERT_TRUE(waitFor([&] { return bluez->calls().size() == 4; }));
    auto ended = bluez->members();
    std::sort(ended.begin() + 2, ended.end());
    EXPECT_EQ(std::vector<QString>(ended.begin() + 2, ended.end()),
              (std::vector<QString>{QStringLiteral("UnregisterAdvertisement"), QStringLiteral("UnregisterApplication")}));
    EXPECT_EQ(client.states, std::vector<ManagerState>{ManagerState::poweredOff});

    // Power returning restarts nothing by itself.
    radio->setState(ManagerState::poweredOn);
    t.loop().runUntilIdle();
    EXPECT_EQ(client.states, (std::vector<ManagerState>{ManagerState::poweredOff, ManagerState::poweredOn}));
    EXPECT_EQ(bluez->calls().size(), 4u);
}

TEST_F(BlueZRadioTest, ARegistrationOvertakenByPowerLossIsTakenBack) {
    startRadio();
    bluez->holdAnswers(true);
    radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
    ASSERT_TRUE(waitFor([&] { return bluez->heldCount() == 1; }));

    radio->setState(ManagerState::poweredOff);
    t.loop().runUntilIdle();
    EXPECT_TRUE(client.results.empty());
    // Still exported: BlueZ has not answered and may read it again.
    EXPECT_EQ(readAdvertisement(bluez->calls()[0].path).type(), QDBusMessage::ReplyMessage);

    bluez->answerHeld();
    ASSERT_TRUE(resultCount(1));
    EXPECT_EQ(client.results[0], std::optional<std::string>(BlueZRadio::notPoweredOn));
    ASSERT_TRUE(waitFor([&] { return bluez->calls().size() == 2; }));
    EXPECT_EQ(bluez->calls()[1].member, QStringLiteral("UnregisterAdvertisement"));
    EXPECT_EQ(readAdvertisement(bluez->calls()[0].path).type(), QDBusMessage::ErrorMessage);
}

TEST_F(BlueZRadioTest, AServiceIsRegisteredAsAGattApplication) {
    startRadio();
    radio->addService(client.id, *makeKelpaService(), client.record());
    ASSERT_TRUE(resultCount(1));
    EXPECT_EQ(client.results[0], std::nullopt);
    ASSERT_EQ(bluez->members(), std::vector<QString>{QStringLiteral("RegisterApplication")});

    const auto root = bluez->calls()[0].path;
    const auto& objects = bluez->applications().at(root);
    const QDBusObjectPath servicePath(root + QStringLiteral("/service0"));
    const QDBusObjectPath characteristicPath(root + QStringLiteral("/service0/char0"));
    ASSERT_EQ(objects.keys(), (QList<QDBusObjectPath>{servicePath, characteristicPath}));

    const auto service = objects[servicePath].value(QString::fromLatin1(platform::bluez::gattServiceInterface));
    EXPECT_EQ(service.value(QStringLiteral("UUID")).toString(), kServiceForBlueZ);
    EXPECT_EQ(service.value(QStringLiteral("Primary")), QVariant(true));

    const auto characteristic =
        objects[characteristicPath].value(QString::fromLatin1(platform::bluez::gattCharacteristicInterface));
    EXPECT_EQ(characteristic.value(QStringLiteral("UUID")).toString(), kCharacteristicForBlueZ);
    EXPECT_EQ(characteristic.value(QStringLiteral("Service")).value<QDBusObjectPath>(), servicePath);
    EXPECT_EQ(characteristic.value(QStringLiteral("Flags")).toStringList(), QStringList{QStringLiteral("notify")});
    EXPECT_FALSE(characteristic.contains(QStringLiteral("Value")));

    // A central that connects can subscribe and read; it gets nothing, and cannot write.
    const QString iface = QString::fromLatin1(platform::bluez::gattCharacteristicInterface);
    auto notify = bluez->callApp(t, characteristicPath.path(), iface, QStringLiteral("StartNotify"));
    EXPECT_EQ(notify.type(), QDBusMessage::ReplyMessage);
    auto value = bluez->callApp(t, characteristicPath.path(), iface, QStringLiteral("ReadValue"), {QVariantMap{}});
    ASSERT_EQ(value.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(value.arguments().value(0).toByteArray(), QByteArray());
    auto write = bluez->callApp(t, characteristicPath.path(), iface, QStringLiteral("WriteValue"),
                                {QByteArray("x"), QVariantMap{}});
    EXPECT_EQ(write.type(), QDBusMessage::ErrorMessage);
}

TEST_F(BlueZRadioTest, AReleasedAdvertisementIsDroppedWithoutUnregistering) {
    startRadio();
    radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
    ASSERT_TRUE(resultCount(1));
    const auto path = bluez->calls()[0].path;

    auto released = bluez->callApp(t, path, QString::fromLatin1(platform::bluez::advertisementInterface),
                                   QStringLiteral("Release"));
    EXPECT_EQ(released.type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(waitFor([&] { return readAdvertisement(path).type() == QDBusMessage::ErrorMessage; }));
    radio->stopAdvertising(client.id);
    t.loop().runUntilIdle();
    EXPECT_EQ(bluez->members(), std::vector<QString>{QStringLiteral("RegisterAdvertisement")});
}

TEST_F(BlueZRadioTest, DisconnectingWithdrawsOnlyThatClientsObjects) {
    startRadio();
    Client other;
    other.id = radio->connect(t.env().mainQueue, [&](ManagerState s) { other.states.push_back(s); });
    radio->startAdvertising(client.id, groupAdvertisement("mine"), client.record());
    radio->startAdvertising(other.id, groupAdvertisement("theirs"), other.record());
    ASSERT_TRUE(waitFor([&] { return client.results.size() == 1 && other.results.size() == 1; }));
    const auto calls = bluez->calls();
    const auto mine = bluez->advertisements().at(calls[0].path).value(QStringLiteral("LocalName")) == QStringLiteral("mine")
                          ? calls[0].path
                          : calls[1].path;

    radio->disconnect(client.id);
    ASSERT_TRUE(waitFor([&] { return bluez->calls().size() == 3; }));
    EXPECT_EQ(bluez->calls()[2].member, QStringLiteral("UnregisterAdvertisement"));
    EXPECT_EQ(bluez->calls()[2].path, mine);

    // No word reaches a client after it disconnected.
    radio->setState(ManagerState::poweredOff);
    t.loop().runUntilIdle();
    EXPECT_TRUE(client.states.empty());
    EXPECT_EQ(other.states, std::vector<ManagerState>{ManagerState::poweredOff});
}

TEST_F(BlueZRadioTest, CallsFromAnotherThreadAreCarriedOutOnQtsThread) {
    startRadio();
    std::thread caller([&] {
        radio->addService(client.id, *makeKelpaService(), client.record());
        radio->startAdvertising(client.id, groupAdvertisement("group"), client.record());
    });
    caller.join();
    ASSERT_TRUE(resultCount(2));
    EXPECT_EQ(client.results, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
    EXPECT_EQ(bluez->members(),
              (std::vector<QString>{QStringLiteral("RegisterApplication"), QStringLiteral("RegisterAdvertisement")}));
}

TEST_F(BlueZRadioTest, ThePeripheralManagerAdvertisesThroughBlueZ) {
    startRadio();
    t.env().bluetooth = radio;
    auto advertiser = Advertiser::start("group-42");
    ASSERT_TRUE(waitFor([&] { return bluez->advertisements().size() == 1; }));
    EXPECT_EQ(advertiser->states, std::vector<ManagerState>{ManagerState::poweredOn});
    EXPECT_EQ(advertiser->addResults, std::vector<std::optional<std::string>>{std::nullopt});
    EXPECT_TRUE(advertiser->manager->isAdvertising());
    const auto& read = bluez->advertisements().begin()->second;
    EXPECT_EQ(read.value(QStringLiteral("LocalName")).toString(), QStringLiteral("group-42"));
    EXPECT_EQ(read.value(QStringLiteral("ServiceUUIDs")).toStringList(), QStringList{kServiceForBlueZ});

    // Releasing the manager takes the advertisement and the service off the air.
    advertiser->manager.reset();
    ASSERT_TRUE(waitFor([&] { return bluez->calls().size() == 4; }));
    auto members = bluez->members();
    std::sort(members.begin() + 2, members.end());
    EXPECT_EQ(std::vector<QString>(members.begin() + 2, members.end()),
              (std::vector<QString>{QStringLiteral("UnregisterAdvertisement"), QStringLiteral("UnregisterApplication")}));
}

}  // namespace
}  // namespace kelpa::testing
