#include "BluetoothTestDelegates.h"
#include "TestEnvironment.h"

#include "platform/HeadlessMainQueue.h"
#include "platform/bluetooth/SimulatedRadio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
using kelpa::platform::CBAdvertisementDataServiceUUIDsKey;
using kelpa::platform::Environment;
using kelpa::platform::HeadlessMainQueue;
using kelpa::platform::ManagerState;
using kelpa::platform::SimulatedRadio;
using kelpa::testing::Advertiser;
using kelpa::testing::kServiceText;
using kelpa::testing::Scanner;
using kelpa::testing::TestEnvironment;

namespace fs = std::filesystem;

namespace {

// Two radios on one directory stand for two processes on one machine.
struct TwoRadios : ::testing::Test {
    std::vector<fs::path> published() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() == ".adv") files.push_back(entry.path());
        }
        return files;
    }

    // Makes the managers made inside `make` use `radio`.
    template <class Make>
    auto on(const std::shared_ptr<SimulatedRadio>& radio, Make make) {
        t.env().bluetooth = radio;
        return make();
    }

    TestEnvironment t;
    fs::path dir = t.home() / "radio";
    std::shared_ptr<SimulatedRadio> here = std::make_shared<SimulatedRadio>(dir);
    std::shared_ptr<SimulatedRadio> there = std::make_shared<SimulatedRadio>(dir);
};

}  // namespace

TEST_F(TwoRadios, ScannerHearsTheOtherRadioAtItsNextPoll) {
    auto scanner = on(here, [] { return Scanner::start(); });
    t.loop().runUntilIdle();
    auto advertiser = on(there, [] { return Advertiser::start("5150"); });
    t.loop().runUntilIdle();
    EXPECT_TRUE(advertiser->manager->isAdvertising());
    EXPECT_TRUE(scanner->discoveries.empty());
    EXPECT_EQ(published().size(), 1u);

    t.loop().runFor(SimulatedRadio::pollInterval);
    ASSERT_EQ(scanner->discoveries.size(), 1u);
    const auto found = scanner->discoveries[0];
    EXPECT_EQ(found.data.size(), 2u);
    EXPECT_EQ(found.name(), "5150");
    EXPECT_EQ(found.data.at(CBAdvertisementDataServiceUUIDsKey).description(), "(\n    " + kServiceText + "\n)");

    t.loop().runFor(10s);
    EXPECT_EQ(scanner->discoveries.size(), 1u);

    advertiser->name = std::string(40, 'x');
    advertiser->advertise();
    t.loop().runFor(SimulatedRadio::pollInterval);
    ASSERT_EQ(scanner->discoveries.size(), 2u);
    EXPECT_EQ(scanner->discoveries[1].name(), std::string(SimulatedRadio::maxLocalNameBytes, 'x'));
    EXPECT_EQ(scanner->discoveries[1].peripheral.identifier, found.peripheral.identifier);
    EXPECT_EQ(published().size(), 1u);  // replaced, not added

    advertiser->manager->stopAdvertising();
    EXPECT_TRUE(published().empty());
}

TEST_F(TwoRadios, OwnAdvertisementsAreNotHeardTwice) {
    auto advertiser = on(here, [] { return Advertiser::start("1"); });
    auto scanner = on(here, [] { return Scanner::start(std::nullopt, {.allowDuplicates = true}); });
    t.loop().runUntilIdle();
    const auto before = scanner->discoveries.size();
    t.loop().runFor(SimulatedRadio::pollInterval * 3);
    EXPECT_EQ(scanner->discoveries.size(), before + 3);  // one report a poll, not two
}

TEST_F(TwoRadios, PowerOffWithdrawsAdvertisementsAndPausesScans) {
    auto advertiser = on(there, [] { return Advertiser::start("A"); });
    auto scanner = on(here, [] { return Scanner::start(std::nullopt, {}, /*rescan=*/false); });
    t.loop().runFor(2s);
    ASSERT_EQ(scanner->names(), std::vector<std::string>{"A"});

    there->setPoweredOn(false);
    t.loop().runUntilIdle();
    EXPECT_TRUE(published().empty());
    EXPECT_FALSE(advertiser->manager->isAdvertising());

    // Powered off here: the other radio's advertisement is not heard until power returns.
    here->setPoweredOn(false);
    advertiser->name = "B";
    there->setPoweredOn(true);
    t.loop().runFor(5s);
    EXPECT_EQ(published().size(), 1u);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"A"});

    here->setPoweredOn(true);
    t.loop().runUntilIdle();
    EXPECT_EQ(scanner->names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(scanner->states, (std::vector<ManagerState>{ManagerState::poweredOn, ManagerState::poweredOff,
                                                           ManagerState::poweredOn}));
}

TEST_F(TwoRadios, ReleasedManagerLeavesNoFile) {
    auto first = on(there, [] { return Advertiser::start("1"); });
    auto second = on(there, [] { return Advertiser::start("2"); });
    t.loop().runUntilIdle();
    EXPECT_EQ(published().size(), 2u);
    first.reset();
    EXPECT_EQ(published().size(), 1u);

    auto scanner = on(here, [] { return Scanner::start(); });
    t.loop().runFor(3s);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"2"});
}

TEST_F(TwoRadios, NameThatIsNotUtf8StillTravels) {
    auto advertiser = on(there, [] { return Advertiser::start("12\xFF"); });
    auto scanner = on(here, [] { return Scanner::start(); });
    t.loop().runFor(2s);
    ASSERT_EQ(scanner->discoveries.size(), 1u);
    EXPECT_EQ(scanner->discoveries[0].name(), "12\xEF\xBF\xBD");  // the replacement character
}

TEST_F(TwoRadios, FilesThatAreNoAdvertisementsAreIgnored) {
    fs::create_directories(dir);
    std::ofstream(dir / "broken.adv") << "{not json";
    std::ofstream(dir / "wrong.adv") << R"({"pid": "x", "radio": 1})";
    std::ofstream(dir / "notes.txt") << "hello";
    auto advertiser = on(there, [] { return Advertiser::start("1"); });
    auto scanner = on(here, [] { return Scanner::start(); });
    t.loop().runFor(3s);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"1"});
}

TEST_F(TwoRadios, AdvertisementOfAnotherProcessIsHeardAndDroppedWhenItDies) {
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        auto env = std::make_shared<Environment>();
        auto loop = std::make_shared<HeadlessMainQueue>(HeadlessMainQueue::ClockMode::Virtual);
        env->mainQueue = loop;
        env->bluetooth = std::make_shared<SimulatedRadio>(dir);
        Environment::Scope scope(env);
        auto advertiser = Advertiser::start("from the child");
        loop->runUntilIdle();
        const char answer = advertiser->manager->isAdvertising() ? 'y' : 'n';
        if (::write(ready[1], &answer, 1) != 1) ::_exit(2);
        char ignored;
        while (::read(release[0], &ignored, 1) > 0) {}
        // No clean-up, as when a process crashes: its file stays behind.
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);

    char answer = 'n';
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    auto scanner = on(here, [] { return Scanner::start(); });
    t.loop().runFor(SimulatedRadio::pollInterval);
    EXPECT_EQ(scanner->names(), std::vector<std::string>{"from the child"});
    EXPECT_EQ(published().size(), 1u);

    ::close(release[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(ready[0]);
    EXPECT_EQ(published().size(), 1u);

    t.loop().runFor(SimulatedRadio::pollInterval);
    EXPECT_TRUE(published().empty());
    scanner->manager->stopScan();
    scanner->manager->scanForPeripheralsWithServices(std::nullopt);
    t.loop().runFor(3s);
    EXPECT_EQ(scanner->discoveries.size(), 1u);
}
